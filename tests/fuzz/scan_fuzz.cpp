// libFuzzer target: the formatted read over arbitrary UTF-16 text. Input: one byte n, then n UTF-16 units of
// format (n = 0: the stage loader's sixteen-field format), then the file's bytes. Every field buffer holds
// exactly ScanFieldUnits units, so an overrun shows at once under AddressSanitizer.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "media/media.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = [] {
    char pattern[] = "/tmp/pelvoro-scan-fuzz-XXXXXX";
    std::string dir = mkdtemp(pattern);
    return dir + "/stage.txt";
  }();
  if (size < 1) return 0;
  size_t n = data[0];
  if (1 + 2 * n > size) return 0;
  std::u16string format;
  for (size_t i = 0; i < n; ++i) format += static_cast<char16_t>(data[1 + 2 * i] | data[2 + 2 * i] << 8);
  if (n == 0) format = u"%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s";
  int conversions = 0;
  for (size_t i = 0; i + 1 < format.size(); ++i) conversions += format[i] == u'%' && format[i + 1] == u's';
  if (conversions > 16) return 0;

  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data + 1 + 2 * n, 1, size - 1 - 2 * n, f);
  std::fclose(f);
  int handle = OpenDataFile(path.c_str());
  if (!handle) return 0;
  std::unique_ptr<char16_t[]> fields[16];
  for (auto& field : fields) field = std::make_unique<char16_t[]>(ScanFieldUnits);
  for (int pass = 0; pass < 2; ++pass) {
    ScanDataFile(handle, format.c_str(), fields[0].get(), fields[1].get(), fields[2].get(), fields[3].get(),
                 fields[4].get(), fields[5].get(), fields[6].get(), fields[7].get(), fields[8].get(),
                 fields[9].get(), fields[10].get(), fields[11].get(), fields[12].get(), fields[13].get(),
                 fields[14].get(), fields[15].get());
  }
  CloseDataFile(handle);
  return 0;
}

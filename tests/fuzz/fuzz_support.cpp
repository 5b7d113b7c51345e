// The fuzz targets' stand-ins for the parts of the media layer that need a window, a clock or a keyboard.
#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "media/media.h"

void FatalError(const char* text, int) { throw FuzzFatal{text}; }
void SetFatalHandler(void (*)(const char*)) {}
void ShowMessageBox(const char*, const char*) {}
void SetKeyFeed(KeyFeed) {}
int NowMs() { return 0; }

std::string FuzzFile(const char* name) {
  static const std::string folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/pelvoro-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  return folder + "/" + name;
}

void FuzzWrite(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

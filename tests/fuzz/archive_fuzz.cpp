// libFuzzer target: an archive from arbitrary bytes is opened, listed and every file read; the LZ and
// Huffman decoders also get the raw bytes as a stream. Nothing may crash or touch memory it does not own.
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/archive.h"
#include "shell/archive_key.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string key = pack::KeyStringBytes(UnscrambleGameKey());
  std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string& k : {key, std::string()}) {
    auto archive = pack::OpenArchiveBytes(bytes, k);
    if (!archive) continue;
    for (const auto& f : pack::ListArchiveFiles(*archive)) {
      std::string out;
      pack::ReadArchiveEntry(*archive, f.entry, &out);
      pack::FindArchiveEntry(*archive, f.path);
    }
    pack::ListArchiveFolders(*archive);
    pack::FindArchiveEntry(*archive, "texture\\girl.png");
  }
  std::string out;
  uint64_t decoded = size >= 4 ? (data[0] | data[1] << 8 | data[2] << 16 | uint64_t{data[3]} << 24) : 0;
  if (decoded <= (uint64_t{1} << 16)) pack::LzDecode(data, size, decoded, &out);
  if (pack::HuffmanDecodedSize(data, size, &decoded) && decoded <= (uint64_t{1} << 16))
    pack::HuffmanDecode(data, size, decoded, &out);
  return 0;
}

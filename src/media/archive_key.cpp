// Key strings, key derivation, the file keys and scrambling of the data archive.
#include <iconv.h>

#include <cstring>

#include "media/archive.h"

namespace pack {

const char DefaultKeyString[] = "PelvoroDefaultKey";

// The game's key is ASCII; other characters go through the C library's code page 932 converter, and a
// character it cannot convert becomes '?'.
std::string KeyStringBytes(const char16_t* key) {
  std::string out;
  if (!key) return out;
  iconv_t cd = reinterpret_cast<iconv_t>(-1);
  for (const char16_t* p = key; *p && out.size() < 63; ++p) {
    char16_t unit = *p;
    if (unit < 0x80) {
      out += static_cast<char>(unit);
      continue;
    }
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("CP932", "UTF-16LE");
    char converted[8];
    bool ok = false;
    if (cd != reinterpret_cast<iconv_t>(-1) && (unit < 0xD800 || unit > 0xDFFF)) {
      char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
      char* inPtr = in;
      size_t inLeft = 2;
      char* outPtr = converted;
      size_t outLeft = sizeof converted;
      ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
      if (ok) out.append(converted, sizeof converted - outLeft);
    }
    if (!ok) out += '?';
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  if (out.size() > 63) out.resize(63);
  return out;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  static const auto table = [] {
    struct Table {
      uint32_t v[256];
    } t;
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t.v[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = table.v[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

ScrambleKey DeriveKey(std::string_view keyString) {
  std::string bytes(keyString);
  if (bytes.size() < 4) bytes += DefaultKeyString;
  std::string even, odd;
  for (size_t i = 0; i < bytes.size(); ++i) (i % 2 ? odd : even) += bytes[i];
  uint32_t a = Crc32(reinterpret_cast<const uint8_t*>(even.data()), even.size());
  uint32_t b = Crc32(reinterpret_cast<const uint8_t*>(odd.data()), odd.size());
  ScrambleKey key;
  for (int i = 0; i < 4; ++i) key.bytes[i] = static_cast<uint8_t>(a >> (8 * i));
  for (int i = 0; i < 3; ++i) key.bytes[4 + i] = static_cast<uint8_t>(b >> (8 * i));
  return key;
}

ScrambleKey FileKey(std::string_view keyString, std::string_view upperName,
                    const std::vector<std::string>& upperFoldersInnermostFirst) {
  std::string s(keyString);
  s += upperName;
  for (const std::string& folder : upperFoldersInnermostFirst) s += folder;
  return DeriveKey(s);
}

void Scramble(uint8_t* data, size_t size, const ScrambleKey& key, uint64_t start) {
  // Seven rotated copies of the key let the loop run without a modulo per byte.
  uint8_t run[7 * 8];
  for (int i = 0; i < 56; ++i) run[i] = key.bytes[(start + i) % 7];
  size_t i = 0;
  for (; i + 56 <= size; i += 56)
    for (int k = 0; k < 56; ++k) data[i + k] ^= run[k];
  for (size_t k = 0; i < size; ++i, ++k) data[i] ^= run[k];
}

std::string UpperName(std::string_view name) {
  std::string s(name);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

uint16_t NameParity(std::string_view upperName) {
  uint16_t sum = 0;
  for (char c : upperName) sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(c));
  return sum;
}

uint16_t NamePackCount(size_t nameBytes) { return static_cast<uint16_t>((nameBytes + 4) / 4); }

}  // namespace pack

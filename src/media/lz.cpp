// LZ decoding of the archive's escape-code streams. A 9-byte header (decoded size, stream size with the
// header, escape byte E) precedes the codes: a byte other than E is a literal, E E is a literal E, and E c
// starts a match whose length and distance follow from c.
#include <cstring>

#include "media/archive.h"

namespace pack {

namespace {
uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
}  // namespace

bool LzDecode(const uint8_t* stream, size_t streamSize, uint64_t expectedSize, std::string* out) {
  if (streamSize < LzHeaderSize) return false;
  uint64_t decoded = Le32(stream);
  uint64_t packed = Le32(stream + 4);
  uint8_t escape = stream[8];
  if (decoded != expectedSize || packed < LzHeaderSize || packed > streamSize) return false;
  if (decoded > MaxDecodedSize || decoded > packed * MaxLzExpansion) return false;

  out->assign(decoded, '\0');
  uint8_t* dst = reinterpret_cast<uint8_t*>(out->data());
  const uint8_t* p = stream + LzHeaderSize;
  const uint8_t* end = stream + packed;
  size_t o = 0;
  while (o < decoded) {
    if (p >= end) return false;
    if (*p != escape) {
      // A run of literals up to the next escape byte, the end of the stream or the end of the output.
      size_t limit = static_cast<size_t>(end - p);
      if (limit > decoded - o) limit = decoded - o;
      const void* found = std::memchr(p, escape, limit);
      size_t run = found ? static_cast<size_t>(static_cast<const uint8_t*>(found) - p) : limit;
      std::memcpy(dst + o, p, run);
      o += run;
      p += run;
      continue;
    }
    if (end - p < 2) return false;
    uint8_t c = p[1];
    p += 2;
    if (c == escape) {
      dst[o++] = escape;
      continue;
    }
    unsigned d = c > escape ? c - 1u : c;
    size_t length = d >> 3;
    if (d & 4) {
      if (p >= end) return false;
      length |= static_cast<size_t>(*p++) << 5;
    }
    length += 4;
    unsigned distanceBytes = (d & 3) + 1;
    if (distanceBytes > 3 || static_cast<size_t>(end - p) < distanceBytes) return false;
    size_t distance = 0;
    for (unsigned i = 0; i < distanceBytes; ++i) distance |= static_cast<size_t>(p[i]) << (8 * i);
    p += distanceBytes;
    distance += 1;
    if (distance > o || length > decoded - o) return false;
    uint8_t* to = dst + o;
    const uint8_t* from = to - distance;
    if (distance >= length) {
      std::memcpy(to, from, length);
    } else {
      // An overlapping match repeats its own output, byte by byte.
      for (size_t i = 0; i < length; ++i) to[i] = from[i];
    }
    o += length;
  }
  return true;
}

}  // namespace pack

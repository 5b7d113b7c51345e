// LZ encoding into the escape-code stream the reader decodes: a hash-chain match finder with one step of
// lazy matching, and the least frequent byte as the escape code so that literal escapes stay rare.
#include <cstring>
#include <vector>

#include "media/archive.h"

namespace pack {

namespace {

constexpr size_t MinMatch = 4;
constexpr size_t MaxMatch = 8191 + 4;
constexpr size_t MaxDistance = size_t{1} << 24;
constexpr int HashBits = 17;
constexpr int MaxChain = 96;

uint32_t Hash4(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return (v * 2654435761u) >> (32 - HashBits);
}

size_t DistanceBytes(size_t distance) {
  size_t v = distance - 1;
  return v < 0x100 ? 1 : v < 0x10000 ? 2 : 3;
}

size_t MatchCost(size_t length, size_t distance) { return 2 + (length - MinMatch > 31 ? 1 : 0) + DistanceBytes(distance); }

struct Match {
  size_t length = 0, distance = 0;
  // Bytes saved against writing the same bytes as literals (about one byte each).
  long Gain() const { return length ? static_cast<long>(length) - static_cast<long>(MatchCost(length, distance)) : 0; }
};

struct Finder {
  const uint8_t* data;
  size_t size;
  std::vector<int32_t> head;
  std::vector<int32_t> prev;
  size_t inserted = 0;  // positions below this are in the chains

  Finder(const uint8_t* d, size_t n) : data(d), size(n), head(size_t{1} << HashBits, -1), prev(n, -1) {}

  void InsertUpTo(size_t pos) {
    for (; inserted < pos && inserted + MinMatch <= size; ++inserted) {
      uint32_t h = Hash4(data + inserted);
      prev[inserted] = head[h];
      head[h] = static_cast<int32_t>(inserted);
    }
    if (inserted < pos) inserted = pos;
  }

  Match Best(size_t pos) {
    Match best;
    if (pos + MinMatch > size) return best;
    InsertUpTo(pos);
    size_t limit = size - pos < MaxMatch ? size - pos : MaxMatch;
    int chain = MaxChain;
    for (int32_t cand = head[Hash4(data + pos)]; cand >= 0 && chain-- > 0; cand = prev[cand]) {
      size_t distance = pos - static_cast<size_t>(cand);
      if (distance > MaxDistance) break;
      const uint8_t* a = data + cand;
      const uint8_t* b = data + pos;
      if (best.length && a[best.length] != b[best.length]) continue;
      size_t length = 0;
      while (length < limit && a[length] == b[length]) ++length;
      if (length < MinMatch) continue;
      Match m{length, distance};
      if (m.Gain() > best.Gain()) best = m;
      if (length == limit) break;
    }
    return best;
  }
};

}  // namespace

std::string LzEncode(const uint8_t* data, size_t size) {
  size_t counts[256] = {};
  for (size_t i = 0; i < size; ++i) ++counts[data[i]];
  uint8_t escape = 0;
  for (int b = 1; b < 256; ++b)
    if (counts[b] < counts[escape]) escape = static_cast<uint8_t>(b);

  std::string out(LzHeaderSize, '\0');
  out.reserve(size + size / 64 + 16);
  auto literal = [&](uint8_t b) {
    out += static_cast<char>(b);
    if (b == escape) out += static_cast<char>(b);
  };
  Finder finder(data, size);
  size_t pos = 0;
  while (pos < size) {
    Match m = finder.Best(pos);
    if (m.Gain() <= 0) {
      literal(data[pos++]);
      continue;
    }
    // One step of lazy matching: a better match one byte later wins over this one.
    if (m.length < 64) {
      Match next = finder.Best(pos + 1);
      if (next.Gain() > m.Gain() + 1) {
        literal(data[pos++]);
        continue;
      }
    }
    size_t extra = m.length - MinMatch;
    unsigned distanceCode = static_cast<unsigned>(DistanceBytes(m.distance) - 1);
    unsigned d = static_cast<unsigned>((extra & 31) << 3) | (extra > 31 ? 4u : 0u) | distanceCode;
    out += static_cast<char>(escape);
    out += static_cast<char>(d < escape ? d : d + 1);
    if (extra > 31) out += static_cast<char>(extra >> 5);
    size_t v = m.distance - 1;
    for (unsigned i = 0; i <= distanceCode; ++i) out += static_cast<char>(v >> (8 * i));
    pos += m.length;
  }
  uint32_t decoded = static_cast<uint32_t>(size);
  uint32_t packed = static_cast<uint32_t>(out.size());
  for (int i = 0; i < 4; ++i) {
    out[i] = static_cast<char>(decoded >> (8 * i));
    out[4 + i] = static_cast<char>(packed >> (8 * i));
  }
  out[8] = static_cast<char>(escape);
  return out;
}

}  // namespace pack

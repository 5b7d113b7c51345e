// Huffman decoding of the archive's streams. The header is read most significant bit first: the decoded
// size, the coded size and the 256 delta-coded weights; the codes that follow are read least significant bit
// first, each one walked from the root of the tree the weights build.
#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <queue>
#include <vector>

#include "media/archive.h"

namespace pack {

static_assert(std::endian::native == std::endian::little, "the bit reader loads little-endian words");

void BuildHuffmanTree(const int64_t weights[256], HuffmanTree* tree) {
  for (int i = 0; i < 511; ++i) {
    tree->parent[i] = -1;
    tree->child[i][0] = tree->child[i][1] = -1;
    tree->weight[i] = i < 256 ? weights[i] : 0;
  }
  bool negative = false;
  for (int i = 0; i < 256; ++i) negative = negative || weights[i] < 0;
  auto join = [tree](int k, int first, int second) {
    tree->child[k][0] = static_cast<int16_t>(first);
    tree->child[k][1] = static_cast<int16_t>(second);
    tree->parent[first] = tree->parent[second] = static_cast<int16_t>(k);
    tree->weight[k] = tree->weight[first] + tree->weight[second];
  };
  if (!negative) {
    // With weights of zero or more, joined nodes come out in order of weight, so two queues do: the leaves
    // sorted by weight (stable, so the earlier leaf first) and the joined nodes in the order they were made.
    // On equal weights a leaf goes first, since every leaf is earlier than every joined node.
    int16_t order[256];
    for (int i = 0; i < 256; ++i) order[i] = static_cast<int16_t>(i);
    std::stable_sort(order, order + 256, [tree](int16_t a, int16_t b) { return tree->weight[a] < tree->weight[b]; });
    int leaf = 0, joined = 256;
    for (int k = 256; k <= HuffmanRoot; ++k) {
      int pick[2];
      for (int& p : pick) {
        bool takeLeaf = leaf < 256 && (joined >= k || tree->weight[order[leaf]] <= tree->weight[joined]);
        p = takeLeaf ? order[leaf++] : joined++;
      }
      join(k, pick[0], pick[1]);
    }
    return;
  }
  // Only a damaged stream has negative weights; the general search keeps to the same rule.
  std::priority_queue<std::pair<int64_t, int>, std::vector<std::pair<int64_t, int>>, std::greater<>> open;
  for (int i = 0; i < 256; ++i) open.push({tree->weight[i], i});
  for (int k = 256; k <= HuffmanRoot; ++k) {
    int first = open.top().second;
    open.pop();
    int second = open.top().second;
    open.pop();
    join(k, first, second);
    open.push({tree->weight[k], k});
  }
}

namespace {

struct HeaderBits {
  const uint8_t* data;
  uint64_t totalBits;
  uint64_t pos = 0;
  bool ok = true;
  uint64_t Take(unsigned count) {
    uint64_t v = 0;
    if (count > totalBits - pos || pos > totalBits) {
      ok = false;
      return 0;
    }
    for (unsigned i = 0; i < count; ++i, ++pos) v = v << 1 | ((data[pos >> 3] >> (7 - (pos & 7))) & 1);
    return v;
  }
};

struct HuffmanHeader {
  uint64_t decodedSize = 0;
  int64_t weights[256];
  size_t bytes = 0;  // header length, up to its byte boundary
};

bool ReadHeader(const uint8_t* stream, size_t streamSize, HuffmanHeader* h, bool sizeOnly) {
  HeaderBits bits{stream, static_cast<uint64_t>(streamSize) * 8};
  unsigned n = static_cast<unsigned>(bits.Take(6));
  h->decodedSize = bits.Take(n + 1);
  if (sizeOnly) return bits.ok;
  unsigned m = static_cast<unsigned>(bits.Take(6));
  bits.Take(m + 1);  // the coded size; the stream's own extent is known from the archive
  for (int s = 0; s < 256 && bits.ok; ++s) {
    unsigned w = static_cast<unsigned>(bits.Take(3));
    uint64_t sign = bits.Take(1);
    int64_t v = static_cast<int64_t>(bits.Take(w * 2 + 2));
    if (s == 0)
      h->weights[0] = v;
    else
      h->weights[s] = sign ? h->weights[s - 1] - v : h->weights[s - 1] + v;
  }
  h->bytes = static_cast<size_t>((bits.pos + 7) / 8);
  return bits.ok;
}

}  // namespace

bool HuffmanDecodedSize(const uint8_t* stream, size_t streamSize, uint64_t* size) {
  HuffmanHeader h;
  if (!ReadHeader(stream, streamSize, &h, true)) return false;
  *size = h.decodedSize;
  return true;
}

bool HuffmanDecode(const uint8_t* stream, size_t streamSize, uint64_t expectedSize, std::string* out,
                   size_t* consumed) {
  HuffmanHeader h;
  if (!ReadHeader(stream, streamSize, &h, false) || h.decodedSize != expectedSize) return false;
  const uint8_t* p = stream + h.bytes;
  const uint8_t* end = stream + streamSize;
  uint64_t availableBits = static_cast<uint64_t>(end - p) * 8;
  // Every code is at least one bit long.
  if (expectedSize > availableBits || expectedSize > MaxDecodedSize) return false;

  HuffmanTree tree;
  BuildHuffmanTree(h.weights, &tree);

  // The first TableBits bits of a code lead to a leaf or to the node where the walk goes on.
  constexpr unsigned TableBits = 11;
  struct Step {
    int16_t node;
    uint8_t length;
  };
  Step table[1 << TableBits];
  // Filled from the tree: a leaf at depth d < TableBits owns every index whose low d bits are its code.
  struct Pending {
    int node;
    unsigned code, depth;
  };
  Pending stack[2 * TableBits + 2];
  int top = 0;
  stack[top++] = {HuffmanRoot, 0, 0};
  while (top > 0) {
    Pending at = stack[--top];
    if (at.node < 256 || at.depth == TableBits) {
      for (unsigned index = at.code; index < (1u << TableBits); index += 1u << at.depth)
        table[index] = {static_cast<int16_t>(at.node), static_cast<uint8_t>(at.depth)};
      continue;
    }
    stack[top++] = {tree.child[at.node][0], at.code, at.depth + 1};
    stack[top++] = {tree.child[at.node][1], at.code | 1u << at.depth, at.depth + 1};
  }

  out->assign(expectedSize, '\0');
  uint8_t* dst = reinterpret_cast<uint8_t*>(out->data());
  uint64_t buffer = 0;
  unsigned count = 0;
  uint64_t usedBits = 0;
  auto refill = [&] {
    if (end - p >= 8) {
      // Eight bytes at once; only the whole bytes that fit are counted as taken.
      uint64_t word;
      std::memcpy(&word, p, 8);
      buffer |= word << count;
      p += (63 - count) >> 3;
      count |= 56;
      return;
    }
    while (count <= 56) {
      if (p < end) buffer |= static_cast<uint64_t>(*p++) << count;
      count += 8;  // past the end, zero bits stand in; usedBits tells whether any were taken
    }
  };
  const uint64_t mask = (1u << TableBits) - 1;
  for (uint64_t o = 0; o < expectedSize; ++o) {
    if (count < TableBits) refill();
    Step step = table[buffer & mask];
    buffer >>= step.length;
    count -= step.length;
    usedBits += step.length;
    int node = step.node;
    while (node >= 256) {
      if (count == 0) refill();
      node = tree.child[node][buffer & 1];
      buffer >>= 1;
      --count;
      ++usedBits;
    }
    dst[o] = static_cast<uint8_t>(node);
  }
  if (usedBits > availableBits) return false;
  if (consumed) *consumed = h.bytes + static_cast<size_t>((usedBits + 7) / 8);
  return true;
}

}  // namespace pack

// Huffman encoding into the stream the reader decodes: byte counts scaled to 16-bit weights, the tree built
// by the reader's own rule, the header written most significant bit first, the codes least significant bit
// first.
#include <vector>

#include "media/archive.h"

namespace pack {

namespace {

struct MsbWriter {
  std::string* out;
  uint64_t bits = 0;
  void Put(uint64_t value, unsigned count) {
    for (unsigned i = count; i-- > 0;) {
      if (bits % 8 == 0) out->push_back('\0');
      if ((value >> i) & 1) out->back() = static_cast<char>(out->back() | (0x80 >> (bits % 8)));
      ++bits;
    }
  }
};

unsigned BitLength(uint64_t v) {
  unsigned n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

// The smallest w (0..7) whose field of w x 2 + 2 bits holds v.
unsigned WeightField(uint64_t v) {
  unsigned w = 0;
  while (w < 7 && BitLength(v) > w * 2 + 2) ++w;
  return w;
}

}  // namespace

bool HuffmanEncode(const uint8_t* data, size_t size, std::string* out) {
  uint64_t counts[256] = {};
  for (size_t i = 0; i < size; ++i) ++counts[data[i]];
  uint64_t most = 0;
  for (uint64_t c : counts) most = c > most ? c : most;
  // Weights are at most 16 bits; a byte that occurs keeps a weight of at least 1.
  int64_t weights[256];
  for (int s = 0; s < 256; ++s) {
    uint64_t c = counts[s];
    if (most > 0xFFFF && c) c = c * 0xFFFF / most ? c * 0xFFFF / most : 1;
    weights[s] = static_cast<int64_t>(c);
  }
  HuffmanTree tree;
  BuildHuffmanTree(weights, &tree);
  uint64_t codes[256];
  unsigned lengths[256];
  uint64_t codeBits = 0;
  for (int s = 0; s < 256; ++s) {
    uint64_t code = 0;
    unsigned length = 0;
    for (int n = s; n != HuffmanRoot; n = tree.parent[n]) {
      if (length >= 57) return false;
      int parent = tree.parent[n];
      code = code << 1 | (tree.child[parent][1] == n ? 1 : 0);
      ++length;
    }
    // Leaf to root: the root's branch was pushed last and sits in the lowest bit, which goes out first.
    codes[s] = code;
    lengths[s] = length;
    codeBits += counts[s] * length;
  }
  out->clear();
  MsbWriter header{out};
  uint64_t codeBytes = (codeBits + 7) / 8;
  unsigned n = BitLength(size);
  n = n ? n : 1;
  header.Put(n - 1, 6);
  header.Put(size, n);
  unsigned m = BitLength(codeBytes);
  m = m ? m : 1;
  header.Put(m - 1, 6);
  header.Put(codeBytes, m);
  for (int s = 0; s < 256; ++s) {
    int64_t previous = s ? weights[s - 1] : 0;
    uint64_t v = static_cast<uint64_t>(s == 0 ? weights[0] : weights[s] > previous ? weights[s] - previous
                                                                                    : previous - weights[s]);
    unsigned w = WeightField(v);
    header.Put(w, 3);
    header.Put(s != 0 && weights[s] < previous ? 1 : 0, 1);
    header.Put(v, w * 2 + 2);
  }

  size_t start = out->size();
  out->resize(start + codeBytes + 8, '\0');
  uint8_t* dst = reinterpret_cast<uint8_t*>(out->data()) + start;
  uint64_t buffer = 0;
  unsigned count = 0;
  size_t o = 0;
  for (size_t i = 0; i < size; ++i) {
    buffer |= codes[data[i]] << count;
    count += lengths[data[i]];
    while (count >= 8) {
      dst[o++] = static_cast<uint8_t>(buffer);
      buffer >>= 8;
      count -= 8;
    }
  }
  if (count) dst[o++] = static_cast<uint8_t>(buffer);
  out->resize(start + o);
  return true;
}

}  // namespace pack

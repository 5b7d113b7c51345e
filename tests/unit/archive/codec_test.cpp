// The archive's building blocks: LZ and Huffman streams, the code tree rule, key derivation.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "media/archive.h"
#include "shell/archive_key.h"

namespace {

std::string LzStream(uint32_t decoded, uint8_t escape, const std::string& codes) {
  std::string s;
  uint32_t packed = static_cast<uint32_t>(pack::LzHeaderSize + codes.size());
  for (int i = 0; i < 4; ++i) s += static_cast<char>(decoded >> (8 * i));
  for (int i = 0; i < 4; ++i) s += static_cast<char>(packed >> (8 * i));
  s += static_cast<char>(escape);
  return s + codes;
}

bool Lz(const std::string& stream, uint64_t expected, std::string* out) {
  return pack::LzDecode(reinterpret_cast<const uint8_t*>(stream.data()), stream.size(), expected, out);
}

struct LzCase {
  const char* name;
  uint8_t escape;
  std::string codes;
  std::string expected;
};

TEST(LzDecode, HandWrittenCodes) {
  // Length 10 is (d >> 3) = 6 with 1-byte distance: d = 48, written as 48 below the escape, 49 above it.
  const LzCase cases[] = {
      {"distance 1 length 10, code below escape", 0xFF, std::string("A\xFF\x30\x00", 4), std::string(11, 'A')},
      {"distance 1 length 10, code above escape", 0x10, std::string("A\x10\x31\x00", 4), std::string(11, 'A')},
      {"escape twice is the escape byte", 0x41, "\x41\x41" "B", "AB"},
      {"overlapping distance 2", 0xFF, std::string("xy\xFF\x08\x01", 5), "xyxyxyx"},
      // d = 4 | 1: extension byte 1 gives length (0 | 1 << 5) + 4 = 36, distance 2 bytes: 0x0000 + 1.
      {"extended length, 2-byte distance", 0xFF, std::string("z\xFF\x05\x01\x00\x00", 6), std::string(37, 'z')},
      {"3-byte distance", 0xFF, std::string("abcd\xFF\x02\x03\x00\x00", 9), "abcdabcd"},
  };
  for (const LzCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    ASSERT_TRUE(Lz(LzStream(static_cast<uint32_t>(c.expected.size()), c.escape, c.codes), c.expected.size(), &out));
    EXPECT_EQ(out, c.expected);
  }
}

TEST(LzDecode, RefusesMalformedStreams) {
  const struct {
    const char* name;
    std::string stream;
    uint64_t expected;
  } cases[] = {
      {"distance before the start", LzStream(5, 0xFF, std::string("A\xFF\x00\x01", 4)), 5},
      {"match past the decoded size", LzStream(5, 0xFF, std::string("A\xFF\x30\x00", 4)), 5},
      {"distance code 3", LzStream(5, 0xFF, std::string("A\xFF\x03\x00\x00\x00\x00", 7)), 5},
      {"codes end early", LzStream(5, 0xFF, "AB"), 5},
      {"escape at the end", LzStream(2, 0xFF, "A\xFF"), 2},
      {"size differs from the entry", LzStream(2, 0xFF, "AB"), 3},
      {"header cut", std::string("\x02\x00\x00", 3), 2},
      {"stream size beyond the data", LzStream(2, 0xFF, "AB").substr(0, 10), 2},
      {"expansion beyond any real stream", LzStream(100000000, 0xFF, std::string("A\xFF\xFD\xFF\x00", 5)), 100000000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    EXPECT_FALSE(Lz(c.stream, c.expected, &out));
  }
}

std::string Sample(int kind, size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    switch (kind) {
      case 0: s[i] = static_cast<char>(random()); break;                         // random bytes
      case 1: s[i] = 0; break;                                                   // one long run
      case 2: s[i] = "stage text, signboards "[random() % 23]; break;           // few symbols
      case 3: s[i] = static_cast<char>((i / 300) % 7 == 0 ? random() % 4 : i % 251); break;  // mixed
      default: s[i] = static_cast<char>(i); break;                               // every value equally
    }
  }
  return s;
}

TEST(Codecs, RoundTripsAcrossSizesAndKinds) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{2}, size_t{5}, size_t{300}, size_t{70000}, size_t{300000}}) {
    for (int kind = 0; kind < 5; ++kind) {
      SCOPED_TRACE("size " + std::to_string(size) + " kind " + std::to_string(kind));
      std::string data = Sample(kind, size, static_cast<uint32_t>(size * 7 + kind));
      const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data.data());
      std::string lz = pack::LzEncode(bytes, data.size()), back;
      ASSERT_TRUE(Lz(lz, data.size(), &back));
      EXPECT_EQ(back, data);
      std::string huffman;
      ASSERT_TRUE(pack::HuffmanEncode(bytes, data.size(), &huffman));
      size_t consumed = 0;
      ASSERT_TRUE(pack::HuffmanDecode(reinterpret_cast<const uint8_t*>(huffman.data()), huffman.size(),
                                      data.size(), &back, &consumed));
      EXPECT_EQ(back, data);
      EXPECT_EQ(consumed, huffman.size());
      if (kind == 1 && size >= 70000) {
        EXPECT_LT(lz.size(), size / 500);
      }
      if (kind == 2 && size >= 70000) {
        EXPECT_LT(huffman.size(), size * 6 / 10);
      }
    }
  }
}

TEST(HuffmanDecode, RefusesCutOrMismatchedStreams) {
  std::string data = Sample(2, 5000, 3), huffman;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data.data());
  ASSERT_TRUE(pack::HuffmanEncode(bytes, data.size(), &huffman));
  const uint8_t* h = reinterpret_cast<const uint8_t*>(huffman.data());
  std::string out;
  EXPECT_FALSE(pack::HuffmanDecode(h, huffman.size(), data.size() + 1, &out));
  EXPECT_FALSE(pack::HuffmanDecode(h, huffman.size() - 1, data.size(), &out));
  EXPECT_FALSE(pack::HuffmanDecode(h, 20, data.size(), &out));
  EXPECT_FALSE(pack::HuffmanDecode(h, 0, data.size(), &out));
  uint64_t size = 0;
  EXPECT_TRUE(pack::HuffmanDecodedSize(h, huffman.size(), &size));
  EXPECT_EQ(size, data.size());
}

TEST(HuffmanTree, JoinsSmallestNodesEarlierFirst) {
  int64_t weights[256];
  for (auto& w : weights) w = 100;
  weights[0] = 3;
  weights[1] = 1;
  weights[2] = 1;
  pack::HuffmanTree tree;
  pack::BuildHuffmanTree(weights, &tree);
  // 1 and 2 (weight 1 each, 1 earlier) first; then the new node (2) and symbol 0 (3).
  EXPECT_EQ(tree.child[256][0], 1);
  EXPECT_EQ(tree.child[256][1], 2);
  EXPECT_EQ(tree.child[257][0], 256);
  EXPECT_EQ(tree.child[257][1], 0);
  // Weight 5 (node 257) against the leaves of 100: 257 is smaller, then leaf 3 is the earliest 100.
  EXPECT_EQ(tree.child[258][0], 257);
  EXPECT_EQ(tree.child[258][1], 3);
  // Equal weights: leaves come before the later-made nodes of the same weight.
  EXPECT_EQ(tree.child[259][0], 4);
  EXPECT_EQ(tree.child[259][1], 5);
  EXPECT_EQ(tree.weight[pack::HuffmanRoot], 3 + 1 + 1 + 253 * 100);
  EXPECT_EQ(tree.parent[pack::HuffmanRoot], -1);
}

TEST(ArchiveKey, DerivesFromTwoCrcs) {
  EXPECT_EQ(pack::Crc32(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xCBF43926u);
  // CRC-32 of the even bytes "Ltr&hr4" and of the odd bytes "anenTon2".
  pack::ScrambleKey key = pack::DeriveKey("Lantern&Thorn42");
  const uint8_t expected[7] = {247, 107, 239, 138, 236, 225, 44};
  EXPECT_EQ(std::memcmp(key.bytes, expected, 7), 0);
  // A short key string is lengthened with the default string first.
  pack::ScrambleKey shortKey = pack::DeriveKey("ab");
  pack::ScrambleKey longer = pack::DeriveKey(std::string("ab") + pack::DefaultKeyString);
  EXPECT_EQ(std::memcmp(shortKey.bytes, longer.bytes, 7), 0);
  pack::ScrambleKey fileKey = pack::FileKey("KEY", "GIRL.PNG", {"TEXTURE", "DATA2"});
  pack::ScrambleKey direct = pack::DeriveKey("KEYGIRL.PNGTEXTUREDATA2");
  EXPECT_EQ(std::memcmp(fileKey.bytes, direct.bytes, 7), 0);
}

TEST(ArchiveKey, GameKeyIsStoredScrambled) {
  std::u16string key = UnscrambleGameKey();
  EXPECT_EQ(key.size(), 15u);
  for (size_t i = 0; i < key.size(); ++i) EXPECT_EQ(ScrambledGameKey[i], key[i] - (i + 1));
  EXPECT_EQ(std::u16string(UnscrambleGameKey()), key);  // rebuilt the same each time
  EXPECT_EQ(pack::KeyStringBytes(key.c_str()), "Lantern&Thorn42");
}

TEST(ArchiveKey, KeyStringInCodePage932) {
  EXPECT_EQ(pack::KeyStringBytes(u"abc\x9375"), "abc\x8C\xAE");
  EXPECT_EQ(pack::KeyStringBytes(std::u16string(80, u'k').c_str()), std::string(63, 'k'));
  EXPECT_EQ(pack::KeyStringBytes(nullptr), "");
  // XOR scrambling from any start undoes itself.
  std::string data = "some bytes to scramble, longer than fifty-six so the fast loop runs too ....";
  std::string copy = data;
  pack::Scramble(reinterpret_cast<uint8_t*>(copy.data()), copy.size(), pack::DeriveKey("k"), 12345);
  EXPECT_NE(copy, data);
  pack::Scramble(reinterpret_cast<uint8_t*>(copy.data()), copy.size(), pack::DeriveKey("k"), 12345);
  EXPECT_EQ(copy, data);
}

}  // namespace

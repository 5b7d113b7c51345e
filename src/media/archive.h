// The data archive reader and its decoders, shared by the file access, the packer and the tests. Nothing in
// here trusts the archive: every offset, size, code and distance is checked, and a failed check makes the
// archive or the file fail to open instead of reading outside a buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pack {

constexpr uint16_t ArchiveVersion = 8;
constexpr size_t ArchiveHeaderSize = 64;
constexpr size_t FileEntrySize = 72;
constexpr size_t DirEntrySize = 32;
constexpr uint64_t NotCoded = ~uint64_t{0};  // LzSize or HuffSize of a file that skipped that coder
constexpr uint64_t AttrDirectory = 0x10;
constexpr uint32_t FlagNotScrambled = 1;
constexpr uint32_t FlagHeadStored = 2;
constexpr int HuffmanWhole = 255;
constexpr size_t LzHeaderSize = 9;
// No decoded file or header block grows beyond this, whatever an archive claims.
constexpr uint64_t MaxDecodedSize = uint64_t{512} << 20;
// An LZ match code of 4 bytes yields at most 8195 bytes, so no stream expands by more than this factor.
constexpr uint64_t MaxLzExpansion = 2049;

// Appended to a key string shorter than 4 bytes before a key is derived.
extern const char DefaultKeyString[];

// The key as the archive rules use it: the UTF-16 string in code page 932, at most 63 bytes.
std::string KeyStringBytes(const char16_t* key);
// CRC-32 (reflected 0xEDB88320, initial all ones, final complement).
uint32_t Crc32(const uint8_t* data, size_t size);
struct ScrambleKey {
  uint8_t bytes[7];
};
ScrambleKey DeriveKey(std::string_view keyString);
// The key of one file: key string + upper-case file name + upper-case enclosing folder names, innermost first.
ScrambleKey FileKey(std::string_view keyString, std::string_view upperName,
                    const std::vector<std::string>& upperFoldersInnermostFirst);
// XORs byte i with key byte (start + i) mod 7; scrambling and unscrambling are the same.
void Scramble(uint8_t* data, size_t size, const ScrambleKey& key, uint64_t start);
// ASCII a..z to A..Z; other bytes stay.
std::string UpperName(std::string_view name);
uint16_t NameParity(std::string_view upperName);
uint16_t NamePackCount(size_t nameBytes);

// LZ stream (9-byte header, escape codes): decodes into exactly the size its header states, which must equal
// expectedSize. False for any malformed stream.
bool LzDecode(const uint8_t* stream, size_t streamSize, uint64_t expectedSize, std::string* out);
// Huffman stream: decodes exactly expectedSize bytes (the size in its header must match). *consumed, when
// given, receives the bytes of the stream used. False for any malformed stream.
bool HuffmanDecode(const uint8_t* stream, size_t streamSize, uint64_t expectedSize, std::string* out,
                   size_t* consumed = nullptr);
// Reads the decoded size from a Huffman stream's header; false when the header is cut short.
bool HuffmanDecodedSize(const uint8_t* stream, size_t streamSize, uint64_t* size);

// The code tree: leaves 0..255 are the byte values, nodes 256..510 join the two parentless nodes of smallest
// weight (earlier node first on equal weights; the smallest is the 0-branch); 510 is the root.
constexpr int HuffmanRoot = 510;
struct HuffmanTree {
  int16_t child[511][2];
  int16_t parent[511];
  int64_t weight[511];
};
void BuildHuffmanTree(const int64_t weights[256], HuffmanTree* tree);

// The writing side, for the packer, the tests and the benchmark (the game never links these).
// LZ stream of the data with the escape byte its least frequent byte; sizes must fit in 32 bits.
std::string LzEncode(const uint8_t* data, size_t size);
// Huffman stream of the data; false when no usable code exists (the data stays uncoded then).
bool HuffmanEncode(const uint8_t* data, size_t size, std::string* out);

struct Archive;

// Opens an archive file or archive bytes with a key string (KeyStringBytes). Null when the header or the
// header block fails a check.
std::shared_ptr<const Archive> OpenArchiveFile(const std::string& fileName, const std::string& keyString);
std::shared_ptr<const Archive> OpenArchiveBytes(std::string bytes, const std::string& keyString);
// The file entry named by a path inside the archive ("texture\\girl.png", '\\' or '/'), ignoring the case of
// ASCII letters; -1 when there is none.
int64_t FindArchiveEntry(const Archive& archive, std::string_view innerPath);
// Decodes one file; false when its data fails a check.
bool ReadArchiveEntry(const Archive& archive, int64_t entry, std::string* out);

struct ArchiveFileInfo {
  std::string path;  // folders joined with '\\', names as written
  int64_t entry;
  uint64_t size;
};
// Every file (not folder) of the archive, folders before their contents in table order.
std::vector<ArchiveFileInfo> ListArchiveFiles(const Archive& archive);
// Every folder (not the root), parents before their subfolders.
std::vector<std::string> ListArchiveFolders(const Archive& archive);
// The header fields the packer's listing shows.
int ArchiveHuffmanKB(const Archive& archive);
uint32_t ArchiveFlags(const Archive& archive);

}  // namespace pack

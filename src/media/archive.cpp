// The data archive reader: checks the 64-byte header, decodes the header block, builds the folder tree from
// the name, file and directory tables, finds names without regard to ASCII case and decodes files
// (unscramble, Huffman, LZ). Every number read from the archive is checked before it is used.
#include <iconv.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "media/archive.h"

namespace pack {

namespace {

uint64_t Le(const uint8_t* p, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// offset + size <= limit without overflow.
bool Fits(uint64_t offset, uint64_t size, uint64_t limit) { return offset <= limit && size <= limit - offset; }

struct Node {
  std::string upperPadded;  // the upper-case copy as stored, PackCount x 4 bytes
  std::string upper;        // up to its first zero byte
  std::string name;         // the name as written
  uint16_t parity = 0;
  bool directory = false;
  int64_t parent = -1;
  uint64_t dataAddress = 0, dataSize = 0, lzSize = NotCoded, huffSize = NotCoded;
  std::vector<int64_t> children;
};

}  // namespace

struct Archive {
  std::string bytes;
  std::string keyString;
  ScrambleKey key;
  uint32_t codePage = 932;
  uint32_t flags = 0;
  int huffmanKB = 0;
  uint64_t dataStart = 0;
  std::vector<Node> nodes;  // node 0 is the root
};

namespace {

bool DecodeHeaderBlock(const Archive& a, uint64_t headSize, uint64_t nameTableStart, std::string* block) {
  uint64_t fileSize = a.bytes.size();
  if (nameTableStart > fileSize || headSize > MaxDecodedSize) return false;
  if (a.flags & FlagHeadStored) {
    if (!Fits(nameTableStart, headSize, fileSize)) return false;
    block->assign(a.bytes, nameTableStart, headSize);
    if (!(a.flags & FlagNotScrambled))
      Scramble(reinterpret_cast<uint8_t*>(block->data()), block->size(), a.key, 0);
    return true;
  }
  std::string stream(a.bytes, nameTableStart);
  if (!(a.flags & FlagNotScrambled)) Scramble(reinterpret_cast<uint8_t*>(stream.data()), stream.size(), a.key, 0);
  const uint8_t* s = reinterpret_cast<const uint8_t*>(stream.data());
  uint64_t lzStreamSize;
  if (!HuffmanDecodedSize(s, stream.size(), &lzStreamSize)) return false;
  std::string lz;
  if (!HuffmanDecode(s, stream.size(), lzStreamSize, &lz)) return false;
  return LzDecode(reinterpret_cast<const uint8_t*>(lz.data()), lz.size(), headSize, block);
}

// Builds the folder tree from the decoded header block. Each folder is entered once, and no more nodes are
// made than the block has room for file entries, so a hostile table cannot loop or blow up.
bool BuildTree(Archive* a, const std::string& block, uint64_t fileTableOffset, uint64_t dirTableOffset) {
  const uint8_t* b = reinterpret_cast<const uint8_t*>(block.data());
  uint64_t size = block.size();
  if (fileTableOffset > size || dirTableOffset > size) return false;
  uint64_t maxNodes = size / FileEntrySize + 1;

  auto readEntry = [&](uint64_t entryOffset, Node* node) -> bool {
    if (!Fits(fileTableOffset, entryOffset, size) || !Fits(fileTableOffset + entryOffset, FileEntrySize, size))
      return false;
    const uint8_t* e = b + fileTableOffset + entryOffset;
    uint64_t nameAddress = Le(e, 8);
    if (!Fits(nameAddress, 4, size)) return false;
    uint16_t packCount = static_cast<uint16_t>(Le(b + nameAddress, 2));
    if (packCount == 0 || !Fits(nameAddress + 4, uint64_t{packCount} * 8, size)) return false;
    const char* upper = reinterpret_cast<const char*>(b + nameAddress + 4);
    const char* written = upper + packCount * 4;
    node->parity = static_cast<uint16_t>(Le(b + nameAddress + 2, 2));
    node->upperPadded.assign(upper, packCount * 4);
    node->upper.assign(upper, strnlen(upper, packCount * 4));
    node->name.assign(written, strnlen(written, packCount * 4));
    node->directory = (Le(e + 8, 8) & AttrDirectory) != 0;
    node->dataAddress = Le(e + 40, 8);
    node->dataSize = Le(e + 48, 8);
    node->lzSize = Le(e + 56, 8);
    node->huffSize = Le(e + 64, 8);
    return true;
  };

  a->nodes.clear();
  a->nodes.emplace_back();
  a->nodes[0].directory = true;
  std::unordered_set<uint64_t> visited;
  std::vector<std::pair<uint64_t, int64_t>> pending{{0, 0}};  // directory-table offset, node
  while (!pending.empty()) {
    auto [dirOffset, nodeIndex] = pending.back();
    pending.pop_back();
    if (!visited.insert(dirOffset).second) return false;
    if (!Fits(dirTableOffset, dirOffset, size) || !Fits(dirTableOffset + dirOffset, DirEntrySize, size))
      return false;
    const uint8_t* d = b + dirTableOffset + dirOffset;
    uint64_t count = Le(d + 16, 8);
    uint64_t first = Le(d + 24, 8);
    if (count > maxNodes || a->nodes.size() + count > maxNodes) return false;
    for (uint64_t i = 0; i < count; ++i) {
      Node child;
      if (!readEntry(first + i * FileEntrySize, &child)) return false;
      child.parent = nodeIndex;
      int64_t childIndex = static_cast<int64_t>(a->nodes.size());
      if (child.directory) pending.push_back({child.dataAddress, childIndex});
      a->nodes.push_back(std::move(child));
      a->nodes[nodeIndex].children.push_back(childIndex);
    }
  }
  return true;
}

std::shared_ptr<const Archive> OpenFromBytes(std::string&& bytes, const std::string& keyString) {
  if (bytes.size() < ArchiveHeaderSize) return nullptr;
  const uint8_t* h = reinterpret_cast<const uint8_t*>(bytes.data());
  if (h[0] != 0x44 || h[1] != 0x58 || Le(h + 2, 2) != ArchiveVersion) return nullptr;
  auto a = std::make_shared<Archive>();
  a->keyString = keyString;
  a->key = DeriveKey(keyString);
  uint64_t headSize = Le(h + 4, 4);
  a->dataStart = Le(h + 8, 8);
  uint64_t nameTableStart = Le(h + 16, 8);
  uint64_t fileTableOffset = Le(h + 24, 8);
  uint64_t dirTableOffset = Le(h + 32, 8);
  uint32_t codePage = static_cast<uint32_t>(Le(h + 40, 4));
  static const uint32_t KnownCodePages[] = {932, 936, 949, 950, 1200, 1201, 1252, 32764, 32766, 32767, 65001};
  a->codePage = 932;
  for (uint32_t cp : KnownCodePages)
    if (cp == codePage) a->codePage = cp;
  a->flags = static_cast<uint32_t>(Le(h + 44, 4));
  a->huffmanKB = h[48];
  a->bytes = std::move(bytes);
  if (a->dataStart > a->bytes.size()) return nullptr;
  std::string block;
  if (!DecodeHeaderBlock(*a, headSize, nameTableStart, &block)) return nullptr;
  if (!BuildTree(a.get(), block, fileTableOffset, dirTableOffset)) return nullptr;
  return a;
}

// A path as bytes of the archive's code page. Paths are ASCII in practice; others are converted from UTF-8.
bool ToCodePage(const Archive& a, std::string_view utf8, std::string* out) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<uint8_t>(c) < 0x80;
  if (ascii || a.codePage == 65001 || a.codePage >= 32764) {
    out->assign(utf8);
    return true;
  }
  const char* name = a.codePage == 1200 ? "UTF-16LE" : a.codePage == 1201 ? "UTF-16BE" : nullptr;
  char cpName[16];
  if (!name) {
    std::snprintf(cpName, sizeof cpName, "CP%u", a.codePage);
    name = cpName;
  }
  iconv_t cd = iconv_open(name, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in(utf8);
  out->assign(in.size() * 4 + 8, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out->data();
  size_t outLeft = out->size();
  bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  out->resize(out->size() - outLeft);
  return ok;
}

}  // namespace

std::shared_ptr<const Archive> OpenArchiveFile(const std::string& fileName, const std::string& keyString) {
  FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return nullptr;
  // Only a plain file, read for the size it has: a pipe or a device could feed bytes for ever.
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(f);
    return nullptr;
  }
  std::string bytes(static_cast<size_t>(st.st_size), '\0');
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
  const bool ok = got == bytes.size() && !std::ferror(f);
  std::fclose(f);
  if (!ok) return nullptr;
  return OpenFromBytes(std::move(bytes), keyString);
}

std::shared_ptr<const Archive> OpenArchiveBytes(std::string bytes, const std::string& keyString) {
  return OpenFromBytes(std::move(bytes), keyString);
}

int64_t FindArchiveEntry(const Archive& archive, std::string_view innerPath) {
  std::string path;
  if (!ToCodePage(archive, innerPath, &path)) return -1;
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(current);
  if (parts.empty()) return -1;

  int64_t dir = 0;
  for (size_t k = 0; k < parts.size(); ++k) {
    bool wantDirectory = k + 1 < parts.size();
    std::string upper = UpperName(parts[k]);
    uint16_t packCount = NamePackCount(upper.size());
    uint16_t parity = NameParity(upper);
    std::string padded = upper;
    padded.resize(packCount * 4, '\0');
    int64_t found = -1;
    for (int64_t child : archive.nodes[dir].children) {
      const Node& n = archive.nodes[child];
      if (n.directory == wantDirectory && n.parity == parity && n.upperPadded == padded) {
        found = child;
        break;
      }
    }
    if (found < 0) return -1;
    dir = found;
  }
  return dir;
}

bool ReadArchiveEntry(const Archive& a, int64_t entry, std::string* out) {
  if (entry <= 0 || entry >= static_cast<int64_t>(a.nodes.size())) return false;
  const Node& n = a.nodes[entry];
  if (n.directory || n.dataSize > MaxDecodedSize) return false;
  bool lz = n.lzSize != NotCoded;
  bool huffman = n.huffSize != NotCoded;
  uint64_t coded = lz ? n.lzSize : n.dataSize;  // what went into the Huffman coder, or is stored as it is
  if (coded > MaxDecodedSize) return false;
  uint64_t part = static_cast<uint64_t>(a.huffmanKB) * 1024;
  bool split = huffman && a.huffmanKB != HuffmanWhole && coded > 2 * part;
  uint64_t huffmanOut = split ? 2 * part : coded;
  uint64_t stored = coded;
  if (huffman) {
    if (n.huffSize > a.bytes.size()) return false;
    stored = n.huffSize + (split ? coded - 2 * part : 0);
    if (huffmanOut > n.huffSize * 8) return false;
  }
  if (lz && (n.lzSize < LzHeaderSize || n.dataSize > n.lzSize * MaxLzExpansion)) return false;
  if (!Fits(a.dataStart, n.dataAddress, a.bytes.size()) || !Fits(a.dataStart + n.dataAddress, stored, a.bytes.size()))
    return false;

  std::string region(a.bytes, a.dataStart + n.dataAddress, stored);
  if (!(a.flags & FlagNotScrambled)) {
    std::vector<std::string> folders;
    for (int64_t p = n.parent; p > 0; p = a.nodes[p].parent) folders.push_back(a.nodes[p].upper);
    ScrambleKey key = FileKey(a.keyString, n.upper, folders);
    Scramble(reinterpret_cast<uint8_t*>(region.data()), region.size(), key, n.dataSize);
  }

  std::string decoded;
  if (huffman) {
    std::string parts;
    if (!HuffmanDecode(reinterpret_cast<const uint8_t*>(region.data()), n.huffSize, huffmanOut, &parts))
      return false;
    if (split) {
      decoded.reserve(coded);
      decoded.append(parts, 0, part);
      decoded.append(region, n.huffSize, coded - 2 * part);
      decoded.append(parts, part, part);
    } else {
      decoded = std::move(parts);
    }
  } else {
    decoded = std::move(region);
  }
  if (lz) return LzDecode(reinterpret_cast<const uint8_t*>(decoded.data()), decoded.size(), n.dataSize, out);
  *out = std::move(decoded);
  return true;
}

std::vector<ArchiveFileInfo> ListArchiveFiles(const Archive& a) {
  std::vector<ArchiveFileInfo> files;
  std::vector<std::pair<int64_t, std::string>> pending{{0, ""}};
  while (!pending.empty()) {
    auto [dir, prefix] = pending.back();
    pending.pop_back();
    std::vector<std::pair<int64_t, std::string>> subfolders;
    for (int64_t child : a.nodes[dir].children) {
      const Node& n = a.nodes[child];
      std::string path = prefix.empty() ? n.name : prefix + "\\" + n.name;
      if (n.directory)
        subfolders.push_back({child, path});
      else
        files.push_back({path, child, n.dataSize});
    }
    for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it) pending.push_back(*it);
  }
  return files;
}

std::vector<std::string> ListArchiveFolders(const Archive& a) {
  std::vector<std::string> folders;
  std::vector<std::pair<int64_t, std::string>> pending{{0, ""}};
  while (!pending.empty()) {
    auto [dir, prefix] = pending.back();
    pending.pop_back();
    for (int64_t child : a.nodes[dir].children) {
      const Node& n = a.nodes[child];
      if (!n.directory) continue;
      std::string path = prefix.empty() ? n.name : prefix + "\\" + n.name;
      folders.push_back(path);
      pending.push_back({child, path});
    }
  }
  return folders;
}

int ArchiveHuffmanKB(const Archive& a) { return a.huffmanKB; }
uint32_t ArchiveFlags(const Archive& a) { return a.flags; }

}  // namespace pack

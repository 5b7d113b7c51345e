// Writes a data archive from a folder tree: each file LZ- and Huffman-coded where that pays, scrambled with
// its file key; the name, file and directory tables in one header block, itself coded and scrambled with
// the archive key.
#include "writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "media/archive.h"

namespace fs = std::filesystem;

namespace {

struct Item {
  std::string name;  // as written on disk
  std::string upper;
  bool directory = false;
  fs::path path;
  std::vector<Item> children;
  uint64_t mtime = 0;  // FILETIME: 100 ns steps since 1601
};

uint64_t FileTimeOf(const fs::path& path) {
  std::error_code ec;
  auto t = fs::last_write_time(path, ec);
  if (ec) return 0;
  auto since1970 = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::file_clock::to_sys(t).time_since_epoch())
                       .count();
  return static_cast<uint64_t>(since1970 / 100) + 116444736000000000ull;
}

// The identity of a folder, so that a link back into a folder being walked is seen as the loop it is.
struct FolderId {
  dev_t device;
  ino_t inode;
  bool operator==(const FolderId&) const = default;
};

bool IdOf(const fs::path& path, FolderId* id) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  *id = {st.st_dev, st.st_ino};
  return true;
}

// Walks one folder. Symbolic links are followed, except one that leads back into a folder on the way down
// (it would repeat forever): that one is skipped with a message. A folder or file that cannot be read fails
// the whole archive, which must not quietly lack a file.
bool Collect(const fs::path& dir, Item* item, std::vector<FolderId>* walking, std::string* error) {
  FolderId self{};
  if (!IdOf(dir, &self)) {
    *error = "cannot read folder " + dir.string();
    return false;
  }
  walking->push_back(self);
  std::error_code ec;
  fs::directory_iterator it(dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const fs::directory_entry& e = *it;
    Item child;
    child.name = e.path().filename().string();
    if (child.name.find('\\') != std::string::npos) {
      *error = "a name with a backslash cannot be looked up: " + e.path().string();
      return false;
    }
    child.upper = pack::UpperName(child.name);
    child.path = e.path();
    std::error_code typeError;
    const fs::file_status status = e.status(typeError);  // through a link
    if (typeError) {
      if (e.is_symlink(typeError)) {
        std::fprintf(stderr, "pelvoro-pack: skipped %s: a link that leads nowhere\n", e.path().c_str());
        continue;
      }
      *error = "cannot read " + e.path().string() + ": " + typeError.message();
      return false;
    }
    child.mtime = FileTimeOf(e.path());
    if (fs::is_directory(status)) {
      FolderId id{};
      if (IdOf(e.path(), &id) && std::find(walking->begin(), walking->end(), id) != walking->end()) {
        std::fprintf(stderr, "pelvoro-pack: skipped %s: a link back into a folder being packed\n",
                     e.path().c_str());
        continue;
      }
      child.directory = true;
      if (!Collect(e.path(), &child, walking, error)) return false;
    } else if (!fs::is_regular_file(status)) {
      continue;
    }
    item->children.push_back(std::move(child));
  }
  walking->pop_back();
  if (ec) {
    *error = "cannot read folder " + dir.string() + ": " + ec.message();
    return false;
  }
  std::sort(item->children.begin(), item->children.end(), [](const Item& a, const Item& b) {
    return a.upper != b.upper ? a.upper < b.upper : a.name < b.name;
  });
  // Lookup ignores ASCII case, so two names that differ only in case could never both be found.
  for (size_t i = 1; i < item->children.size(); ++i) {
    if (item->children[i].upper == item->children[i - 1].upper) {
      *error = "names differ only in case: " + item->children[i - 1].path.string() + " and " +
               item->children[i].path.string();
      return false;
    }
  }
  return true;
}

void Put(std::string* s, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s->push_back(static_cast<char>(v >> (8 * i)));
}
void Set(std::string* s, size_t at, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) (*s)[at + i] = static_cast<char>(v >> (8 * i));
}

// The size is checked before anything is read, so a huge file is refused without filling the memory.
bool ReadFile(const fs::path& path, std::string* out, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  const uintmax_t size = fs::file_size(path, ec);
  if (!in || ec) {
    *error = "cannot read " + path.string();
    return false;
  }
  if (size > pack::MaxDecodedSize) {
    *error = "file too large for the archive: " + path.string();
    return false;
  }
  out->resize(static_cast<size_t>(size));
  in.read(out->data(), static_cast<std::streamsize>(size));
  // A file that changed size under the reader is read again by the next run, not packed half.
  if (in.gcount() != static_cast<std::streamsize>(size) || in.peek() != std::char_traits<char>::eof()) {
    *error = "cannot read " + path.string() + " (it changed while being read)";
    return false;
  }
  return true;
}

// A coder is kept only when it saves enough to be worth its decoding time: LZ decodes at about the speed
// of a copy, so half a percent pays; Huffman is several times slower, so it must save two percent.
bool LzPays(size_t coded, size_t plain) { return coded + plain / 200 < plain; }
bool HuffmanPays(size_t coded, size_t plain) { return coded + plain / 50 < plain; }

struct Writer {
  const PackOptions& options;
  std::string data;        // the data area
  std::string names;       // name table
  std::string files;       // file table
  std::string dirs;        // directory table
  PackStats* stats;

  uint64_t AddName(const std::string& name, const std::string& upper) {
    uint64_t at = names.size();
    uint16_t packCount = pack::NamePackCount(name.size());
    Put(&names, packCount, 2);
    Put(&names, pack::NameParity(upper), 2);
    std::string padded = upper;
    padded.resize(packCount * 4, '\0');
    names += padded;
    padded = name;
    padded.resize(packCount * 4, '\0');
    names += padded;
    return at;
  }

  void FileEntry(uint64_t at, uint64_t nameAddress, bool directory, uint64_t mtime, uint64_t dataAddress,
                 uint64_t dataSize, uint64_t lzSize, uint64_t huffSize) {
    Set(&files, at, nameAddress, 8);
    Set(&files, at + 8, directory ? pack::AttrDirectory : 0, 8);
    Set(&files, at + 16, mtime, 8);
    Set(&files, at + 24, mtime, 8);
    Set(&files, at + 32, mtime, 8);
    Set(&files, at + 40, dataAddress, 8);
    Set(&files, at + 48, dataSize, 8);
    Set(&files, at + 56, lzSize, 8);
    Set(&files, at + 64, huffSize, 8);
  }

  bool StoreFile(const Item& item, const std::vector<std::string>& foldersInnermostFirst, uint64_t entryAt,
                 uint64_t nameAddress, std::string* error) {
    std::string content;
    if (!ReadFile(item.path, &content, error)) return false;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(content.data());
    uint64_t lzSize = pack::NotCoded, huffSize = pack::NotCoded;
    std::string stage = content;
    if (content.size() >= 16) {
      std::string lz = pack::LzEncode(bytes, content.size());
      if (LzPays(lz.size(), content.size())) {
        lzSize = lz.size();
        stage = std::move(lz);
      }
    }
    std::string stored = stage;
    uint64_t part = static_cast<uint64_t>(options.huffmanKB) * 1024;
    bool split = options.huffmanKB != pack::HuffmanWhole && stage.size() > 2 * part;
    std::string toCode = split ? stage.substr(0, part) + stage.substr(stage.size() - part) : stage;
    std::string huffman;
    if (toCode.size() >= 64 &&
        pack::HuffmanEncode(reinterpret_cast<const uint8_t*>(toCode.data()), toCode.size(), &huffman) &&
        HuffmanPays(huffman.size(), toCode.size())) {
      huffSize = huffman.size();
      stored = huffman;
      if (split) stored += stage.substr(part, stage.size() - 2 * part);
    }
    if (options.scramble) {
      pack::ScrambleKey key = pack::FileKey(options.keyString, item.upper, foldersInnermostFirst);
      pack::Scramble(reinterpret_cast<uint8_t*>(stored.data()), stored.size(), key, content.size());
    }
    FileEntry(entryAt, nameAddress, false, item.mtime, data.size(), content.size(), lzSize, huffSize);
    data += stored;
    if (stats) {
      ++stats->files;
      stats->plainBytes += content.size();
      stats->storedBytes += stored.size();
      if (lzSize != pack::NotCoded) ++stats->lzFiles;
      if (huffSize != pack::NotCoded) ++stats->huffmanFiles;
    }
    return true;
  }

  // Lays out one folder: its entries are consecutive in the file table, its subfolders follow.
  bool Folder(const Item& folder, uint64_t ownEntry, uint64_t dirAt, uint64_t parentDir,
              const std::vector<std::string>& foldersInnermostFirst, std::string* error) {
    uint64_t first = files.size();
    files.resize(files.size() + folder.children.size() * pack::FileEntrySize, '\0');
    Set(&dirs, dirAt, ownEntry, 8);
    Set(&dirs, dirAt + 8, parentDir, 8);
    Set(&dirs, dirAt + 16, folder.children.size(), 8);
    Set(&dirs, dirAt + 24, first, 8);
    std::vector<std::pair<const Item*, std::pair<uint64_t, uint64_t>>> subfolders;
    for (size_t i = 0; i < folder.children.size(); ++i) {
      const Item& child = folder.children[i];
      uint64_t entryAt = first + i * pack::FileEntrySize;
      uint64_t nameAddress = AddName(child.name, child.upper);
      if (child.directory) {
        uint64_t childDir = dirs.size();
        dirs.resize(dirs.size() + pack::DirEntrySize, '\0');
        FileEntry(entryAt, nameAddress, true, child.mtime, childDir, 0, pack::NotCoded, pack::NotCoded);
        subfolders.push_back({&child, {entryAt, childDir}});
      } else if (!StoreFile(child, foldersInnermostFirst, entryAt, nameAddress, error)) {
        return false;
      }
    }
    for (auto& [child, at] : subfolders) {
      std::vector<std::string> inner{child->upper};
      inner.insert(inner.end(), foldersInnermostFirst.begin(), foldersInnermostFirst.end());
      if (!Folder(*child, at.first, at.second, dirAt, inner, error)) return false;
    }
    return true;
  }
};

}  // namespace

bool WriteArchive(const std::string& outPath, const std::string& folder, const PackOptions& options,
                  std::string* error, PackStats* stats) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    *error = "not a folder: " + folder;
    return false;
  }
  Item root;
  root.directory = true;
  root.mtime = FileTimeOf(folder);
  std::vector<FolderId> walking;
  if (!Collect(folder, &root, &walking, error)) return false;

  Writer w{options, {}, {}, {}, {}, stats};
  // The root's own entry comes first in the file table, its directory entry first in the directory table.
  uint64_t rootName = w.AddName("", "");
  w.files.resize(pack::FileEntrySize, '\0');
  w.FileEntry(0, rootName, true, root.mtime, 0, 0, pack::NotCoded, pack::NotCoded);
  w.dirs.resize(pack::DirEntrySize, '\0');
  if (!w.Folder(root, 0, 0, pack::NotCoded, {}, error)) return false;

  bool ascii = true;
  for (char c : w.names) ascii = ascii && static_cast<uint8_t>(c) < 0x80;

  std::string block = w.names;
  uint64_t fileTableOffset = block.size();
  block += w.files;
  uint64_t dirTableOffset = block.size();
  block += w.dirs;
  if (block.size() > 0xFFFFFFFFu) {
    *error = "too many names for one archive";
    return false;
  }

  uint32_t flags = options.scramble ? 0 : pack::FlagNotScrambled;
  std::string headerStream;
  {
    std::string lz = pack::LzEncode(reinterpret_cast<const uint8_t*>(block.data()), block.size());
    std::string coded;
    if (block.size() >= 256 &&
        pack::HuffmanEncode(reinterpret_cast<const uint8_t*>(lz.data()), lz.size(), &coded) &&
        coded.size() < block.size()) {
      headerStream = std::move(coded);
    } else {
      headerStream = block;
      flags |= pack::FlagHeadStored;
    }
  }
  if (options.scramble) {
    pack::ScrambleKey key = pack::DeriveKey(options.keyString);
    pack::Scramble(reinterpret_cast<uint8_t*>(headerStream.data()), headerStream.size(), key, 0);
  }

  std::string header;
  header += '\x44';
  header += '\x58';
  Put(&header, pack::ArchiveVersion, 2);
  Put(&header, block.size(), 4);
  Put(&header, pack::ArchiveHeaderSize, 8);                   // DataStart
  Put(&header, pack::ArchiveHeaderSize + w.data.size(), 8);   // NameTableStart: after the data
  Put(&header, fileTableOffset, 8);
  Put(&header, dirTableOffset, 8);
  Put(&header, ascii ? 932 : 65001, 4);
  Put(&header, flags, 4);
  header += static_cast<char>(options.huffmanKB);
  header.resize(pack::ArchiveHeaderSize, '\0');

  // Written beside the target and renamed over it, so a failed run never leaves half an archive.
  std::string temp = outPath + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    out.write(w.data.data(), static_cast<std::streamsize>(w.data.size()));
    out.write(headerStream.data(), static_cast<std::streamsize>(headerStream.size()));
    out.flush();
    if (!out) {
      *error = "cannot write " + temp;
      fs::remove(temp, ec);
      return false;
    }
  }
  fs::rename(temp, outPath, ec);
  if (ec) {
    *error = "cannot write " + outPath + ": " + ec.message();
    fs::remove(temp, ec);
    return false;
  }
  if (stats) stats->archiveBytes = header.size() + w.data.size() + headerStream.size();
  return true;
}

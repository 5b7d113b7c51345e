// File access: data paths such as "data\\texture\\girl.png" are served from an archive named after a leading
// folder ("data.bin") when one exists, else from the disk; relative paths start in the folder that holds
// data.bin (the working directory, or the installed data folder). Every open file is held in memory whole,
// so seeking and the formatted read are plain index arithmetic.
#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/archive.h"
#include "media/media.h"

namespace {

struct OpenFile {
  std::string data;
  int64_t pos = 0;
};

// Handles are slot index + 1. Open and close may come from the loading thread too.
std::mutex HandleLock;
std::vector<std::unique_ptr<OpenFile>> HandleSlots;

OpenFile* FileOf(int handle) {
  std::lock_guard<std::mutex> guard(HandleLock);
  if (handle <= 0 || handle > static_cast<int>(HandleSlots.size())) return nullptr;
  return HandleSlots[handle - 1].get();
}

int AddHandle(std::string&& data) {
  auto file = std::make_unique<OpenFile>();
  file->data = std::move(data);
  std::lock_guard<std::mutex> guard(HandleLock);
  for (size_t i = 0; i < HandleSlots.size(); ++i) {
    if (!HandleSlots[i]) {
      HandleSlots[i] = std::move(file);
      return static_cast<int>(i) + 1;
    }
  }
  HandleSlots.push_back(std::move(file));
  return static_cast<int>(HandleSlots.size());
}

bool ReadDiskFile(const std::string& path, std::string* out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(f);
    return false;
  }
  out->clear();
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out->append(chunk, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

std::vector<std::string> SplitPath(const char* path) {
  std::vector<std::string> parts;
  std::string current;
  for (const char* p = path; *p; ++p) {
    if (*p == '\\' || *p == '/') {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

// ---------------------------------------------------------------------------------------------------------
// Archive settings and the archives opened so far.

std::mutex ArchiveLock;  // serialises opening archives and their header blocks
std::string ArchiveExtension = "bin";
std::string ArchiveKeyBytes;

struct OpenedArchive {
  std::string fileName;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t mtimeNs = 0;
  std::shared_ptr<const pack::Archive> archive;
};
std::vector<OpenedArchive> OpenedArchives;
std::string LastArchivePrefix;  // the folder prefix that served the last archive path

int64_t MtimeNs(const struct stat& st) {
  return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// The archive for one file name, opened on first use and kept. A file replaced on disk (the packer rewrote
// it) is opened again. Called with ArchiveLock held.
std::shared_ptr<const pack::Archive> ArchiveNamed(const std::string& fileName) {
  struct stat st;
  if (stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  for (auto it = OpenedArchives.begin(); it != OpenedArchives.end(); ++it) {
    if (it->fileName != fileName) continue;
    if (it->device == st.st_dev && it->inode == st.st_ino && it->size == st.st_size && it->mtimeNs == MtimeNs(st))
      return it->archive;
    OpenedArchives.erase(it);
    break;
  }
  std::shared_ptr<const pack::Archive> archive = pack::OpenArchiveFile(fileName, ArchiveKeyBytes);
  if (!archive) return nullptr;
  OpenedArchives.push_back({fileName, st.st_dev, st.st_ino, st.st_size, MtimeNs(st), archive});
  return archive;
}

// Finds the archive serving the path and the rest of the path inside it.
std::shared_ptr<const pack::Archive> ArchiveForPath(const std::vector<std::string>& parts, std::string* inner) {
  std::lock_guard<std::mutex> guard(ArchiveLock);
  std::vector<std::string> prefixes;
  std::string prefix;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    prefix += (i ? "/" : "") + parts[i];
    prefixes.push_back(prefix);
  }
  auto rest = [&](size_t folders) {
    inner->clear();
    for (size_t i = folders; i < parts.size(); ++i) *inner += (i > folders ? "\\" : "") + parts[i];
  };
  // The last archive used goes first when the path starts with its prefix.
  for (size_t k = 0; k < prefixes.size(); ++k) {
    if (prefixes[k] != LastArchivePrefix) continue;
    if (auto archive = ArchiveNamed(DataFilePath((prefixes[k] + "." + ArchiveExtension).c_str()))) {
      rest(k + 1);
      return archive;
    }
  }
  for (size_t k = 0; k < prefixes.size(); ++k) {
    if (auto archive = ArchiveNamed(DataFilePath((prefixes[k] + "." + ArchiveExtension).c_str()))) {
      LastArchivePrefix = prefixes[k];
      rest(k + 1);
      return archive;
    }
  }
  return nullptr;
}

bool ReadThroughArchives(const char* path, std::string* out) {
  std::vector<std::string> parts = SplitPath(path);
  if (parts.empty()) return false;
  std::string inner;
  if (auto archive = ArchiveForPath(parts, &inner)) {
    int64_t entry = pack::FindArchiveEntry(*archive, inner);
    if (entry >= 0) return pack::ReadArchiveEntry(*archive, entry, out);
  }
  std::string diskPath;
  for (size_t i = 0; i < parts.size(); ++i) diskPath += (i ? "/" : "") + parts[i];
  diskPath = path[0] == '/' ? "/" + diskPath : DataFilePath(diskPath.c_str());
  return ReadDiskFile(diskPath, out);
}

}  // namespace

int SetArchiveExtension(const char* extension) {
  std::lock_guard<std::mutex> guard(ArchiveLock);
  ArchiveExtension = std::string(extension ? extension : "").substr(0, 63);
  OpenedArchives.clear();
  LastArchivePrefix.clear();
  return 0;
}

int SetArchiveKey(const char16_t* key) {
  std::lock_guard<std::mutex> guard(ArchiveLock);
  ArchiveKeyBytes = pack::KeyStringBytes(key);
  OpenedArchives.clear();
  LastArchivePrefix.clear();
  return 0;
}

int OpenDataFile(const char* path) {
  if (!path || !*path) return 0;
  std::string data;
  if (!ReadThroughArchives(path, &data)) return 0;
  return AddHandle(std::move(data));
}

int SeekDataFile(int handle, int64_t offset) {
  OpenFile* file = FileOf(handle);
  if (!file || offset < 0 || offset > static_cast<int64_t>(file->data.size())) return -1;
  file->pos = offset;
  return 0;
}

int ReadDataFile(void* buffer, int64_t count, int handle) {
  OpenFile* file = FileOf(handle);
  if (!file || count < 0) return -1;
  int64_t available = static_cast<int64_t>(file->data.size()) - file->pos;
  int64_t n = count < available ? count : available;
  if (n > 0) std::memcpy(buffer, file->data.data() + file->pos, static_cast<size_t>(n));
  file->pos += n;
  return n == count ? 0 : -1;
}

int64_t DataFileSize(int handle) {
  OpenFile* file = FileOf(handle);
  return file ? static_cast<int64_t>(file->data.size()) : -1;
}

int CloseDataFile(int handle) {
  std::lock_guard<std::mutex> guard(HandleLock);
  if (handle > 0 && handle <= static_cast<int>(HandleSlots.size())) HandleSlots[handle - 1].reset();
  return 0;
}

bool ReadWholeDataFile(const char* path, std::string* out) {
  if (!path || !*path) return false;
  return ReadThroughArchives(path, out);
}

// ---------------------------------------------------------------------------------------------------------
// Formatted read of UTF-16 text. White space means space, CR and LF only: a tab is part of a field.

namespace {

struct UnitReader {
  const std::string& data;
  int64_t pos;
  bool AtEnd() const { return pos + 2 > static_cast<int64_t>(data.size()); }
  char16_t Peek() const {
    return static_cast<char16_t>(static_cast<uint8_t>(data[pos]) | static_cast<uint8_t>(data[pos + 1]) << 8);
  }
  void Next() { pos += 2; }
};

bool IsScanSpace(char16_t u) { return u == u' ' || u == u'\r' || u == u'\n'; }

}  // namespace

int ScanDataFile(int handle, const char16_t* format, ...) {
  OpenFile* file = FileOf(handle);
  if (!file || !format) return -1;
  UnitReader in{file->data, file->pos};
  if (in.pos == 0 && !in.AtEnd() && in.Peek() == 0xFEFF) in.Next();

  va_list args;
  va_start(args, format);
  int stored = 0;
  const char16_t* f = format;
  while (*f && !in.AtEnd()) {
    if (f[0] == u'%' && f[1] == u's') {
      f += 2;
      char16_t* out = va_arg(args, char16_t*);
      while (!in.AtEnd() && IsScanSpace(in.Peek())) in.Next();
      if (in.AtEnd()) break;
      int length = 0;
      while (!in.AtEnd() && !IsScanSpace(in.Peek())) {
        // A longer field is read to its end but cut to what the buffer holds.
        if (length < ScanFieldUnits - 1) out[length++] = in.Peek();
        in.Next();
      }
      out[length] = 0;
      ++stored;
    } else if (IsScanSpace(*f)) {
      while (IsScanSpace(*f)) ++f;
      while (!in.AtEnd() && IsScanSpace(in.Peek())) in.Next();
    } else {
      // A literal run: matching units are consumed; the first differing unit is consumed and ends the run.
      // A '%' that does not start "%s" is an ordinary character ("%%" stands for one).
      const char16_t* run = f;
      if (run[0] == u'%' && run[1] == u'%') ++run;
      const char16_t* end = run + 1;
      while (*end && *end != u'%' && !IsScanSpace(*end)) ++end;
      f = end;
      for (const char16_t* c = run; c < end && !in.AtEnd(); ++c) {
        char16_t unit = in.Peek();
        in.Next();
        if (unit != *c) break;
      }
    }
  }
  va_end(args);
  file->pos = in.pos;
  return stored;
}

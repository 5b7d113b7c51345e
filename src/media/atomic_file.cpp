// Whole-file writes that a crash or a full disk can never tear: the bytes go to a temporary file beside the
// target, are flushed to the disk, and the temporary file is renamed over the target. Only where no temporary
// file can be made (a folder the player may not write into, holding a file he may) is the file rewritten in
// place, which a kill at the wrong moment can tear.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "media/media.h"

namespace {

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// A symbolic link is followed, so that writing through it replaces the file it points at, not the link.
std::string ResolvedTarget(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = realpath(path.c_str(), nullptr)) {
      std::string resolved = real;
      std::free(real);
      return resolved;
    }
  }
  return path;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Permissions of the new file: those of the file it replaces, else what a plain create would give.
mode_t NewFileMode(const std::string& target) {
  struct stat st;
  if (stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

std::string NameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The new contents over the old, in the file itself: written first and cut to length after, so that a
// shorter write never leaves the file shorter than both.
bool RewriteInPlace(const std::string& target, const uint8_t* data, size_t size) {
  int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && WriteAll(fd, data, size) &&
            ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;
  return close(fd) == 0 && ok;
}

// Temporary files are named target + "." + six letters or digits + ".tmp"; the ending keeps a player's own
// "save.dat.backup" from ever looking like one.
constexpr char TemporaryPattern[] = ".XXXXXX.tmp";
constexpr int TemporarySuffix = 4;

// A name that the temporary files of `name` have (or the plain name + ".tmp" of older versions).
bool IsTemporaryName(const std::string& entry, const std::string& name) {
  if (entry.size() <= name.size() + 1 || entry.compare(0, name.size(), name) != 0 || entry[name.size()] != '.')
    return false;
  const std::string tail = entry.substr(name.size() + 1);
  if (tail == "tmp") return true;
  if (tail.size() != 10 || tail.compare(6, 4, ".tmp") != 0) return false;
  for (int i = 0; i < 6; ++i) {
    const char c = tail[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

void RemoveStaleTemporaryFiles(const std::string& path, int olderThanSeconds) {
  if (path.empty()) return;
  const std::string target = ResolvedTarget(path);
  const std::string folder = FolderOf(target), name = NameOf(target);
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  const time_t now = time(nullptr);
  while (dirent* entry = readdir(dir)) {
    if (!IsTemporaryName(entry->d_name, name)) continue;
    const std::string file = folder + "/" + entry->d_name;
    struct stat st;
    // Young ones may belong to a write still running in another copy of the game.
    if (lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime >= olderThanSeconds)
      unlink(file.c_str());
  }
  closedir(dir);
}

bool ReplaceFileAtomically(const std::string& path, const void* data, size_t size) {
  if (path.empty()) return false;
  const std::string target = ResolvedTarget(path);
  std::string temp = target + TemporaryPattern;
  int fd = mkostemps(temp.data(), TemporarySuffix, O_CLOEXEC);
  if (fd < 0) {
    struct stat st;
    if (stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return RewriteInPlace(target, static_cast<const uint8_t*>(data), size);
  }
  bool ok = fchmod(fd, NewFileMode(target)) == 0 && WriteAll(fd, static_cast<const uint8_t*>(data), size) &&
            fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) ok = rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable; a folder that cannot be synced still holds a complete file.
  int dirFd = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
  return true;
}

// Whole-file writes that a crash or a full disk can never tear: the bytes go to a temporary file beside the
// target, are flushed to the disk, and the temporary file is renamed over the target.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
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

}  // namespace

bool ReplaceFileAtomically(const std::string& path, const void* data, size_t size) {
  if (path.empty()) return false;
  const std::string target = ResolvedTarget(path);
  std::string temp = target + ".XXXXXX";
  int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
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

// Where the game's files live. Run from a folder that holds data.bin (the build folder, a portable copy),
// everything stays in the working directory. Installed, data.bin lies in the data folder that the build
// placed relative to the executable, and the writable files go to $XDG_DATA_HOME/pelvoro, so that a desktop
// launcher works whatever the working directory is.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "media/media.h"
#include "media/testing.h"

#ifndef PELVORO_INSTALL_DATA_FROM_BIN
#define PELVORO_INSTALL_DATA_FROM_BIN "../share/games/pelvoro"
#endif

namespace {

// Empty while the data files are read from the working directory; else the installed data folder, ending
// in '/'.
std::string DataFolder;
std::string InstalledFolderOverride;

std::string ExecutableFolder() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "";
  std::string path(buffer, static_cast<size_t>(n));
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string InstalledDataFolder() {
  if (!InstalledFolderOverride.empty()) return InstalledFolderOverride;
  std::string exe = ExecutableFolder();
  return exe.empty() ? "" : exe + PELVORO_INSTALL_DATA_FROM_BIN "/";
}

// $XDG_DATA_HOME, or ~/.local/share when it is unset, empty or not absolute.
std::string UserDataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    struct passwd* entry = getpwuid(getuid());
    home = entry != nullptr ? entry->pw_dir : nullptr;
  }
  return std::string(home != nullptr ? home : "") + "/.local/share";
}

// Makes every missing folder of the path, private to the user as desktop folders for user data are.
void MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
    std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return;
    if (slash == std::string::npos) return;
  }
}

// A folder of that name opens too, but reading it fails; an empty file reads (and fails later, with the
// message of the first picture).
bool ArchiveReadable(const std::string& path) {
  FILE* archive = std::fopen(path.c_str(), "rb");
  if (archive == nullptr) return false;
  std::fgetc(archive);
  const bool readable = std::ferror(archive) == 0;
  std::fclose(archive);
  return readable;
}

}  // namespace

bool LocateDataArchive(const char* name) {
  if (ArchiveReadable(name)) {
    DataFolder.clear();
    return true;
  }
  std::string installed = InstalledDataFolder();
  if (!installed.empty() && installed.back() != '/') installed += '/';
  if (installed.empty() || !ArchiveReadable(installed + name)) return false;
  DataFolder = installed;
  return true;
}

std::string DataFilePath(const char* name) {
  if (name[0] == '/') return name;
  return DataFolder + name;
}

std::string WritableFilePath(const char* name) {
  if (DataFolder.empty() || name[0] == '/') return name;
  std::string folder = UserDataHome() + "/pelvoro";
  MakeFolders(folder);
  return folder + "/" + name;
}

void SetInstalledDataFolder(const char* folder) {
  InstalledFolderOverride = folder != nullptr ? folder : "";
  DataFolder.clear();
}

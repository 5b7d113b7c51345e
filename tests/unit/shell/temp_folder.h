// A fresh folder under the system's temporary folder, removed with everything in it at the end of the test.
// A death test's child ends the process inside the test, past every destructor: the folders it made are
// removed when it exits instead (only its own, never those of the parent it was forked from).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <string>

inline std::map<std::string, pid_t>& LiveTempFolders() {
  static std::map<std::string, pid_t> folders;
  return folders;
}

inline void RemoveTempFolder(const std::string& path) {
  std::error_code ignored;
  std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(path, ignored);
}

inline void RemoveLiveTempFoldersAtExit() {
  for (const auto& [path, owner] : LiveTempFolders()) {
    if (owner == getpid()) RemoveTempFolder(path);
  }
}

class TempFolder {
 public:
  TempFolder() {
    static const bool registered = (LiveTempFolders(), std::atexit(RemoveLiveTempFoldersAtExit) == 0);
    (void)registered;
    std::string pattern = (std::filesystem::temp_directory_path() / "pelvoro-shell-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a temporary folder";
    path_ = pattern;
    LiveTempFolders()[path_] = getpid();
  }
  ~TempFolder() {
    LiveTempFolders().erase(path_);
    RemoveTempFolder(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The full path of a file in the folder; the string lives as long as the folder object.
  const char* File(const std::string& name) {
    files_.push_back(path_ + "/" + name);
    return files_.back().c_str();
  }

 private:
  std::string path_;
  std::deque<std::string> files_;  // a deque keeps earlier strings in place
};

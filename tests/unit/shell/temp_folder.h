// A fresh folder under the system's temporary folder, removed with everything in it at the end of the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pelvoro-shell-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a temporary folder";
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
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

// A fresh temporary folder that is also the working directory for the test's lifetime, since data paths
// and archives are found relative to the working directory.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

class TempWorkDir {
 public:
  TempWorkDir() {
    old_ = std::filesystem::current_path();
    char pattern[] = "/tmp/pelvoro-archive-XXXXXX";
    path_ = mkdtemp(pattern);
    std::filesystem::current_path(path_);
  }
  ~TempWorkDir() {
    std::filesystem::current_path(old_);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path old_, path_;
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Where data.bin is found and where the writable files go: the working directory when it holds data.bin,
// else the installed data folder with the writable files under the user's data folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "media/media.h"
#include "media/testing.h"

namespace {

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "pelvoro-paths-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "cwd");
    fs::create_directories(root_ / "installed" / "notes");
    Touch(root_ / "installed" / "data.bin", "");
    Touch(root_ / "installed" / "notes" / "a.txt", "installed note");
    previous_ = fs::current_path();
    fs::current_path(root_ / "cwd");
    SaveEnv("XDG_DATA_HOME", &xdg_);
    SaveEnv("HOME", &home_);
    setenv("HOME", (root_ / "home").c_str(), 1);
    SetInstalledDataFolder((root_ / "installed").c_str());
  }
  void TearDown() override {
    SetInstalledDataFolder(nullptr);
    fs::current_path(previous_);
    RestoreEnv("XDG_DATA_HOME", xdg_);
    RestoreEnv("HOME", home_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  static void Touch(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }
  static void SaveEnv(const char* name, std::string* out) {
    const char* value = std::getenv(name);
    *out = value != nullptr ? std::string("=") + value : "";
  }
  static void RestoreEnv(const char* name, const std::string& saved) {
    if (saved.empty()) unsetenv(name);
    else setenv(name, saved.c_str() + 1, 1);
  }

  fs::path root_, previous_;
  std::string xdg_, home_;
};

TEST_F(PathsTest, WorkingDirectoryWithDataBinKeepsEverythingThere) {
  Touch("data.bin", "");
  setenv("XDG_DATA_HOME", (root_ / "xdg").c_str(), 1);
  ASSERT_TRUE(LocateDataArchive("data.bin"));
  EXPECT_EQ(WritableFilePath("save.dat"), "save.dat");
  EXPECT_EQ(DataFilePath("data.bin"), "data.bin");
  std::string text;
  EXPECT_FALSE(ReadWholeDataFile("notes\\a.txt", &text)) << "the installed folder is not used";
  EXPECT_FALSE(fs::exists(root_ / "xdg")) << "no user folder is made";
}

TEST_F(PathsTest, InstalledGameReadsItsDataFolderAndWritesUnderXdgDataHome) {
  setenv("XDG_DATA_HOME", (root_ / "xdg" / "deeper").c_str(), 1);
  ASSERT_TRUE(LocateDataArchive("data.bin"));
  EXPECT_EQ(DataFilePath("help.html"), (root_ / "installed").string() + "/help.html");
  std::string text;
  ASSERT_TRUE(ReadWholeDataFile("notes\\a.txt", &text));
  EXPECT_EQ(text, "installed note");

  std::string save = WritableFilePath("save.dat");
  EXPECT_EQ(save, (root_ / "xdg" / "deeper" / "pelvoro" / "save.dat").string());
  EXPECT_TRUE(fs::is_directory(root_ / "xdg" / "deeper" / "pelvoro")) << "the folder is made when missing";
  EXPECT_EQ(fs::status(root_ / "xdg" / "deeper" / "pelvoro").permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(WritableFilePath("/elsewhere/save.dat"), "/elsewhere/save.dat");
}

TEST_F(PathsTest, UnsetOrRelativeXdgDataHomeMeansLocalShareInHome) {
  ASSERT_TRUE(LocateDataArchive("data.bin"));
  for (const char* value : {static_cast<const char*>(nullptr), "", "relative/place"}) {
    if (value == nullptr) unsetenv("XDG_DATA_HOME");
    else setenv("XDG_DATA_HOME", value, 1);
    EXPECT_EQ(WritableFilePath("save.dat"), (root_ / "home" / ".local" / "share" / "pelvoro" / "save.dat").string())
        << (value ? value : "unset");
  }
}

TEST_F(PathsTest, NoDataBinAnywhere) {
  fs::remove(root_ / "installed" / "data.bin");
  EXPECT_FALSE(LocateDataArchive("data.bin"));
  fs::create_directories(root_ / "installed" / "data.bin");
  EXPECT_FALSE(LocateDataArchive("data.bin")) << "a folder named data.bin is no archive";
}

}  // namespace

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "media/testing.h"
#include "shell/savedata.h"
#include "temp_folder.h"

namespace {

const char SaveMessage[] = "セーブデータの読み書きに失敗しました。";

std::vector<uint8_t> NewFileBytes() {
  std::vector<uint8_t> bytes = {'S', 'A', 'V', 'E', 'P', 'L', 'V', '0', 0x15, 0x01};
  bytes.push_back(1);
  bytes.insert(bytes.end(), 29, 0);
  bytes.push_back(0xFF);
  bytes.push_back(0xFF);
  bytes.insert(bytes.end(), {1, 1, 0, 0});
  return bytes;
}

class SaveDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    path_ = folder_.File("save.dat");
    SaveDataPath = path_;
    // The start-up defaults that the load fills in.
    std::memset(StageUnlocked, 0, sizeof StageUnlocked);
    StageUnlocked[30] = StageUnlocked[31] = 0xFF;
    MusicOn = SoundEffectsOn = 1;
    ShowFps = BloodOn = 0;
  }
  void TearDown() override { SaveDataPath = "save.dat"; }

  void Write(const std::vector<uint8_t>& bytes, const char* path = nullptr) {
    std::ofstream out(path ? path : path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::vector<uint8_t> Read(const char* path = nullptr) {
    std::ifstream in(path ? path : path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  TempFolder folder_;
  const char* path_ = nullptr;
};

TEST_F(SaveDataTest, MissingFileIsCreatedWithTheNewFileContents) {
  StageUnlocked[5] = 1;  // overwritten by the load of the new file
  MusicOn = 0;
  SaveDataIo(0);
  EXPECT_EQ(Read(), NewFileBytes());
  EXPECT_EQ(StageUnlocked[0], 1);
  for (int i = 1; i < 30; ++i) EXPECT_EQ(StageUnlocked[i], 0) << i;
  EXPECT_EQ(StageUnlocked[30], 0xFF);
  EXPECT_EQ(MusicOn, 1);
  EXPECT_EQ(SoundEffectsOn, 1);
  EXPECT_EQ(ShowFps, 0);
  EXPECT_EQ(BloodOn, 0);
  // No temporary file is left behind: save.dat is all the folder holds.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), {}), 1);
}

TEST_F(SaveDataTest, ExistingFileIsLoadedNotReplaced) {
  std::vector<uint8_t> bytes = NewFileBytes();
  bytes[8] = 0x00;  // version 256
  bytes[11] = 1;
  bytes[44] = 1;
  Write(bytes);
  SaveDataIo(0);
  EXPECT_EQ(Read(), bytes);
  EXPECT_EQ(StageUnlocked[1], 1);
  EXPECT_EQ(ShowFps, 1);
}

TEST_F(SaveDataTest, VersionWindowIs256To277) {
  struct Case {
    uint16_t version;
    bool loads;
  };
  for (Case c : {Case{256, true}, Case{277, true}, Case{300 - 30, true}, Case{255, false}, Case{278, false},
                 Case{0, false}, Case{0xFFFF, false}}) {
    SCOPED_TRACE(c.version);
    std::vector<uint8_t> bytes = NewFileBytes();
    bytes[8] = c.version & 0xFF;
    bytes[9] = c.version >> 8;
    bytes[45] = 1;
    Write(bytes);
    BloodOn = 0;
    if (c.loads) {
      SaveDataIo(1);
      EXPECT_EQ(BloodOn, 1);
    } else {
      EXPECT_EXIT(SaveDataIo(1), ::testing::ExitedWithCode(255), SaveMessage);
    }
  }
}

TEST_F(SaveDataTest, DamagedFilesEndWithTheMessage) {
  std::vector<uint8_t> wrongMagic = NewFileBytes();
  wrongMagic[7] = '1';
  const std::vector<uint8_t> cases[] = {wrongMagic, {}, {'S', 'A', 'V', 'E'}, {'S', 'A', 'V', 'E', 'P', 'L', 'V', '0', 0x15}};
  for (const auto& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    Write(bytes);
    EXPECT_EXIT(SaveDataIo(1), ::testing::ExitedWithCode(255), SaveMessage);
  }
}

TEST_F(SaveDataTest, ShortFileLoadsTheFieldsItHas) {
  std::vector<uint8_t> bytes = NewFileBytes();
  bytes.resize(10 + 5);  // the first five stage bytes only
  bytes[12] = 1;
  Write(bytes);
  StageUnlocked[3] = 1;  // byte 3 is in the file: 0
  StageUnlocked[7] = 1;  // byte 7 is not: stays
  ShowFps = 1;
  SaveDataIo(1);
  EXPECT_EQ(StageUnlocked[0], 1);
  EXPECT_EQ(StageUnlocked[2], 1);
  EXPECT_EQ(StageUnlocked[3], 0);
  EXPECT_EQ(StageUnlocked[7], 1);
  EXPECT_EQ(ShowFps, 1);
  EXPECT_EQ(MusicOn, 1);
}

TEST_F(SaveDataTest, StoreWritesTheLayout) {
  for (int i = 0; i < 32; ++i) StageUnlocked[i] = static_cast<uint8_t>(i);
  MusicOn = 0;
  SoundEffectsOn = 1;
  ShowFps = 1;
  BloodOn = 0;
  SaveDataIo(2);
  std::vector<uint8_t> expected = {'S', 'A', 'V', 'E', 'P', 'L', 'V', '0', 0x15, 0x01};
  for (int i = 0; i < 32; ++i) expected.push_back(static_cast<uint8_t>(i));
  expected.insert(expected.end(), {0, 1, 1, 0});
  EXPECT_EQ(Read(), expected);
}

// A store with every file limited to 10 bytes, as on a full disk. The limit is lifted again before the
// message is written, since stderr is a file here too.
void StoreOnAFullDisk() {
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  static rlimit saved;
  saved = limit;
  limit.rlim_cur = 10;
  setrlimit(RLIMIT_FSIZE, &limit);
  SetFatalHandler([](const char* text) {
    setrlimit(RLIMIT_FSIZE, &saved);
    SetFatalHandler(nullptr);
    FatalError(text, 0);
  });
  SaveDataIo(2);
}

// The old save survives a write that cannot finish: here the disk is "full" (a file size limit below the
// save's 46 bytes holds even for root, unlike a read-only folder), and no temporary file is left behind.
TEST_F(SaveDataTest, FailedStoreKeepsTheOldFileAndEndsWithTheMessage) {
  const std::vector<uint8_t> old = NewFileBytes();
  Write(old);
  StageUnlocked[9] = 1;
  EXPECT_EXIT(StoreOnAFullDisk(), ::testing::ExitedWithCode(255), SaveMessage);
  EXPECT_EQ(Read(), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()), {}), 1);
}

// No temporary file can be made beside the save in a read-only folder; a writable save is then rewritten in
// place, and a read-only one ends with the message and stays as it was.
TEST_F(SaveDataTest, StoreIntoAReadOnlyFolderRewritesTheFileInPlace) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::vector<uint8_t> old = NewFileBytes();
  Write(old);
  ASSERT_EQ(chmod(path_, 0640), 0);
  ASSERT_EQ(chmod(folder_.Path().c_str(), 0500), 0);
  StageUnlocked[9] = 1;
  SaveDataIo(2);
  std::vector<uint8_t> stored = Read();
  ASSERT_EQ(stored.size(), 46u);
  EXPECT_EQ(stored[10 + 9], 1);
  struct stat st;
  ASSERT_EQ(stat(path_, &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  ASSERT_EQ(chmod(path_, 0440), 0);
  StageUnlocked[9] = 0;
  EXPECT_EXIT(SaveDataIo(2), ::testing::ExitedWithCode(255), SaveMessage);
  EXPECT_EQ(Read(), stored);
  chmod(folder_.Path().c_str(), 0700);
}

// The same fallback where even root cannot make the temporary file: its name would be longer than a file
// name may be.
TEST_F(SaveDataTest, NoRoomForATemporaryNameRewritesInPlace) {
  const std::string longName = folder_.File(std::string(250, 's').c_str());
  Write(NewFileBytes(), longName.c_str());
  SaveDataPath = longName.c_str();
  MusicOn = 0;
  SaveDataIo(2);
  std::vector<uint8_t> stored = Read(longName.c_str());
  ASSERT_EQ(stored.size(), 46u);
  EXPECT_EQ(stored[42], 0);
}

// A folder named save.dat cannot be read as a save: the start keeps the defaults, without a message.
TEST_F(SaveDataTest, FolderNamedLikeTheSaveKeepsTheDefaults) {
  ASSERT_EQ(mkdir(path_, 0700), 0);
  MusicOn = 1;
  StageUnlocked[0] = 7;
  SaveDataIo(0);
  EXPECT_EQ(MusicOn, 1);
  EXPECT_EQ(StageUnlocked[0], 7);
  EXPECT_TRUE(std::filesystem::is_directory(path_));
}

// Temporary files that killed writes left beside the save are removed at start-up once they are old enough
// not to be another copy's write in progress; other files stay.
TEST_F(SaveDataTest, StartUpRemovesStaleTemporaryFiles) {
  namespace fs = std::filesystem;
  Write(NewFileBytes());
  const std::string dir = folder_.Path();
  for (const char* name : {"save.dat.tmp", "save.dat.Ab12Cd.tmp", "save.dat.young1.tmp", "save.dat.backup",
                           "other.dat.tmp"})
    Write({1, 2, 3}, (dir + "/" + name).c_str());
  const timespec old[2] = {{std::time(nullptr) - 600, 0}, {std::time(nullptr) - 600, 0}};
  for (const char* name : {"save.dat.tmp", "save.dat.Ab12Cd.tmp", "save.dat.backup", "other.dat.tmp"})
    ASSERT_EQ(utimensat(AT_FDCWD, (dir + "/" + name).c_str(), old, 0), 0);
  SaveDataIo(0);
  EXPECT_FALSE(fs::exists(dir + "/save.dat.tmp"));
  EXPECT_FALSE(fs::exists(dir + "/save.dat.Ab12Cd.tmp"));
  EXPECT_TRUE(fs::exists(dir + "/save.dat.young1.tmp"));
  EXPECT_TRUE(fs::exists(dir + "/save.dat.backup"));
  EXPECT_TRUE(fs::exists(dir + "/other.dat.tmp"));
  EXPECT_EQ(Read(), NewFileBytes());
}

TEST_F(SaveDataTest, StartUpFailures) {
  // The file cannot be created: the message.
  SaveDataPath = folder_.File("no-such-folder/save.dat");
  EXPECT_EXIT(SaveDataIo(0), ::testing::ExitedWithCode(255), SaveMessage);
  // It cannot be opened for another reason (here a file stands where a folder should be): defaults stay.
  Write({1, 2, 3}, folder_.File("plain"));
  SaveDataPath = folder_.File("plain/save.dat");
  MusicOn = 1;
  SaveDataIo(0);
  EXPECT_EQ(MusicOn, 1);
  // A load of a file that is not there: the message.
  SaveDataPath = folder_.File("missing.dat");
  EXPECT_EXIT(SaveDataIo(1), ::testing::ExitedWithCode(255), SaveMessage);
}

TEST_F(SaveDataTest, NoPathMeansNoFileAtAll) {
  SaveDataPath = nullptr;
  SaveDataIo(0);
  SaveDataIo(2);
  SaveDataPath = path_;
  EXPECT_EQ(access(path_, F_OK), -1);
}

// Installed (no data.bin in the working directory), the save file lives in the user's data folder and the
// working directory gets nothing.
TEST_F(SaveDataTest, InstalledGameKeepsTheSaveUnderXdgDataHome) {
  namespace fs = std::filesystem;
  const fs::path root = folder_.Path();
  fs::create_directories(root / "installed");
  fs::create_directories(root / "cwd");
  std::ofstream(root / "installed" / "data.bin") << "";
  const fs::path previous = fs::current_path();
  fs::current_path(root / "cwd");
  const char* oldXdg = std::getenv("XDG_DATA_HOME");
  const std::string savedXdg = oldXdg != nullptr ? oldXdg : "";
  setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
  SetInstalledDataFolder((root / "installed").c_str());
  SaveDataPath = "save.dat";

  bool located = LocateDataArchive("data.bin");
  SaveDataIo(0);
  MusicOn = 0;
  SaveDataIo(2);
  std::vector<uint8_t> saved = Read((root / "xdg" / "pelvoro" / "save.dat").c_str());
  bool cwdTouched = fs::exists(root / "cwd" / "save.dat");

  SetInstalledDataFolder(nullptr);
  fs::current_path(previous);
  if (oldXdg != nullptr) setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
  else unsetenv("XDG_DATA_HOME");
  ASSERT_TRUE(located);
  ASSERT_EQ(saved.size(), 46u);
  EXPECT_EQ(saved[42], 0);
  EXPECT_FALSE(cwdTouched);
}

}  // namespace

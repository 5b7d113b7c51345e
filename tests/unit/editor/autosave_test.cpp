// The editor's autosave: written a few seconds after a change and at the end, restored at start-up, and a
// damaged or missing one ignored.
#include <filesystem>
#include <fstream>

#include "editor_fixture.h"
#include "stage/catalogue.h"

namespace {

class AutosaveTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    RestoreAutosave();  // forgets what earlier tests left unsaved
  }
  static bool Exists() { return std::filesystem::exists(AutosavePath()); }
};

TEST_F(AutosaveTest, WrittenAfterTheDelayAndRestored) {
  Frame({}, 170, 10, LeftButton);  // a Block at column 0, row 0
  EXPECT_FALSE(Exists()) << "not at once";
  SleepMs(AutosaveDelayMs + 50);
  Frame({});
  ASSERT_TRUE(Exists());
  EXPECT_EQ(std::filesystem::file_size(AutosavePath()), static_cast<uintmax_t>(StageSetFileSize));
  EditorStageSet = StageSet{};
  EXPECT_TRUE(RestoreAutosave());
  EXPECT_EQ(Cell(0, 0, 0), Block);
}

TEST_F(AutosaveTest, WrittenWhenTheProgramEndsOnlyIfSomethingChanged) {
  EditorShutdown();
  EXPECT_FALSE(Exists()) << "nothing changed, nothing written";
  Frame({}, 170, 10, RightButton);
  Frame({}, 170, 10, RightButton);  // placing what the cell holds already is no change
  EditorShutdown();
  EXPECT_FALSE(Exists());
  EditorStageSet.EditorDifficulty[4] = 9;
  Editor.DifficultyRequest = 1;
  SetMouseOverride(1, 400, 400, LeftButton);  // OK at once
  RunDifficultyDialog();
  EditorShutdown();
  ASSERT_TRUE(Exists());
  EditorStageSet = StageSet{};
  ASSERT_TRUE(RestoreAutosave());
  EXPECT_EQ(EditorStageSet.EditorDifficulty[4], 9);
}

TEST_F(AutosaveTest, DamagedOrMissingAutosaveLeavesTheStartUpSet) {
  EXPECT_FALSE(RestoreAutosave()) << "missing";
  for (int size : {0, 100, StageSetFileSize - 1, StageSetFileSize + 1, StageSetFileSize}) {
    std::ofstream(AutosavePath(), std::ios::binary | std::ios::trunc) << std::string(size, '\x07');
    EditorStageSet = StageSet{};
    EXPECT_FALSE(RestoreAutosave()) << size << " bytes without the magic";
    EXPECT_EQ(Cell(0, 0, 0), Empty);
    EXPECT_EQ(EditorStageSet.EditorDifficulty[0], 3);
  }
}

}  // namespace

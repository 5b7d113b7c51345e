// The file choosers: the native choosers' argument lists, and the in-game chooser driven by key, text and
// mouse events on SDL's dummy driver (it lists folders and *.plvsd files, goes up, takes a typed name as
// typed, asks before overwriting, cancels with X or its button, and fits 640 x 480 and 800 x 600).
#include <gtest/gtest.h>
#include <unistd.h>

#include <SDL2/SDL.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/chooser.h"
#include "media_fixture.h"

namespace {

namespace fs = std::filesystem;

TEST(NativeChooser, ArgumentsCarryTitleFilterAndTheSaveRules) {
  const std::string open = "Pelvoro!! ステージデータファイルを開く";
  const std::string save = "Pelvoro!! ステージデータファイルを保存";
  const std::string filterName = "Pelvoro!! ステージデータファイル(*.plvsd)";
  struct Case {
    const char* program;
    int purpose;
    unsigned long parent;
    std::vector<std::string> args;
  } cases[] = {
      {"zenity", ChooseOpenStageSet, 0,
       {"zenity", "--file-selection", "--title=" + open, "--file-filter=" + filterName + " | *.plvsd"}},
      {"zenity", ChooseSaveStageSet, 77,
       {"zenity", "--file-selection", "--title=" + save, "--file-filter=" + filterName + " | *.plvsd", "--save",
        "--confirm-overwrite", "--modal", "--attach=77"}},
      {"kdialog", ChooseOpenStageSet, 0,
       {"kdialog", "--title", open, "--getopenfilename", "", "*.plvsd|" + filterName}},
      {"kdialog", ChooseSaveStageSet, 5,
       {"kdialog", "--title", save, "--attach", "5", "--getsavefilename", "", "*.plvsd|" + filterName}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(media::NativeChooserArguments(c.program, c.purpose, c.parent), c.args) << c.program << " " << c.purpose;
}

TEST(NativeChooser, AProgramThatCannotBeStartedIsUnavailable) {
  std::string path = "unchanged";
  EXPECT_EQ(media::RunNativeChooser("pelvoro-no-such-chooser", ChooseOpenStageSet, &path), media::ChooserUnavailable);
  EXPECT_EQ(path, "unchanged");
}

class BuiltinChooserTest : public MediaTest {
 protected:
  fs::path Root;
  fs::path Before;
  void SetUp() override {
    MediaTest::SetUp();
    setenv("PELVORO_FILE_CHOOSER", "builtin", 1);
    Root = fs::path(folder_) / "sets";
    fs::create_directories(Root / "sub");
    for (const char* name : {"a.plvsd", "b.PLVSD", "notes.txt", ".hidden.plvsd", "sub/inner.plvsd"})
      std::ofstream(Root / name) << "x";
    Before = fs::current_path();
    fs::current_path(Root);
  }
  void TearDown() override {
    fs::current_path(Before);
    unsetenv("PELVORO_FILE_CHOOSER");
    MediaTest::TearDown();
  }
  static void Key(SDL_Scancode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = key;
    SDL_PushEvent(&event);
  }
  static void Type(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
    SDL_PushEvent(&event);
  }
  static void Click(int x, int y, int clicks = 1) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = x;
    event.button.y = y;
    event.button.clicks = static_cast<Uint8>(clicks);
    SDL_PushEvent(&event);
  }
  // Runs the chooser over the events pushed so far: the chosen path, or "cancelled".
  static std::string Choose(int purpose) {
    std::string path;
    return ChooseFile(purpose, &path) ? path : "cancelled";
  }
  std::string In(const std::string& name) { return (Root / name).string(); }
};

TEST_F(BuiltinChooserTest, OpeningListsFoldersThenStageSetFilesAndGoesUp) {
  // The cursor starts on the first folder; Enter opens it and takes its only file.
  Key(SDL_SCANCODE_RETURN);
  Key(SDL_SCANCODE_RETURN);
  EXPECT_EQ(Choose(ChooseOpenStageSet), In("sub/inner.plvsd"));
  // Down past the end stops on the last stage-set file: neither notes.txt nor the hidden file is listed.
  for (int i = 0; i < 6; ++i) Key(SDL_SCANCODE_DOWN);
  Key(SDL_SCANCODE_RETURN);
  EXPECT_EQ(Choose(ChooseOpenStageSet), In("b.PLVSD"));
  // Into sub, back up with Backspace (the cursor on sub again), then the next row and up once more with Left.
  Key(SDL_SCANCODE_RETURN);
  Key(SDL_SCANCODE_BACKSPACE);
  Key(SDL_SCANCODE_DOWN);
  Key(SDL_SCANCODE_RETURN);
  EXPECT_EQ(Choose(ChooseOpenStageSet), In("a.plvsd"));
  Key(SDL_SCANCODE_LEFT);
  Key(SDL_SCANCODE_X);
  EXPECT_EQ(Choose(ChooseOpenStageSet), "cancelled");
}

TEST_F(BuiltinChooserTest, SavingTakesTheNameAsTypedAndAsksBeforeOverwriting) {
  Type("new");
  Type("a/b");  // a path is not a name: refused as a whole
  Type("名前");
  Key(SDL_SCANCODE_BACKSPACE);
  Key(SDL_SCANCODE_RETURN);
  EXPECT_EQ(Choose(ChooseSaveStageSet), In("new名"));  // no extension added

  // An existing file: the question comes up with "いいえ" chosen; Enter declines and the chooser stays.
  Type("a.plvsd");
  Key(SDL_SCANCODE_RETURN);
  Key(SDL_SCANCODE_RETURN);
  Key(SDL_SCANCODE_DOWN);  // into the list, where X cancels
  Key(SDL_SCANCODE_X);
  EXPECT_EQ(Choose(ChooseSaveStageSet), "cancelled");

  Type("a.plvsd");
  Key(SDL_SCANCODE_RETURN);
  Key(SDL_SCANCODE_LEFT);  // to "はい"
  Key(SDL_SCANCODE_RETURN);
  EXPECT_EQ(Choose(ChooseSaveStageSet), In("a.plvsd"));

  // In the name field X is a letter.
  Type("x");
  Key(SDL_SCANCODE_X);
  Key(SDL_SCANCODE_RETURN);
  EXPECT_EQ(Choose(ChooseSaveStageSet), In("x"));

  // A file chosen in the list fills the field.
  for (int i = 0; i < 4; ++i) Key(SDL_SCANCODE_DOWN);
  Key(SDL_SCANCODE_RETURN);
  Key(SDL_SCANCODE_Y);
  EXPECT_EQ(Choose(ChooseSaveStageSet), In("b.PLVSD"));
}

TEST_F(BuiltinChooserTest, TheMouseChoosesAtBothWindowSizes) {
  // 640 x 480: the window is centred at (20, 20); rows of 22 pixels from y 86; row 2 is a.plvsd.
  Click(100, 86 + 2 * 22 + 5, 1);
  Click(100, 86 + 2 * 22 + 5, 2);
  EXPECT_EQ(Choose(ChooseOpenStageSet), In("a.plvsd"));
  Click(540, 430);  // "キャンセル"
  EXPECT_EQ(Choose(ChooseOpenStageSet), "cancelled");
  Click(100, 86 + 3 * 22 + 5);  // b.PLVSD, then "開く"
  Click(420, 430);
  EXPECT_EQ(Choose(ChooseOpenStageSet), In("b.PLVSD"));

  // 800 x 600, the editor's size: the same window centred at (100, 80).
  SetWindowClientSize(800, 600);
  Click(180, 180 + 1 * 22 + 5, 2);  // saving: the list starts lower, under the name field; row 1 is sub
  Click(180, 180 + 1 * 22 + 5, 2);  // in sub, row 1 is inner.plvsd: it exists, so the question comes up
  Click(500, 490);                  // "保存" under the question does nothing
  Click(320, 320);                  // "はい"
  EXPECT_EQ(Choose(ChooseSaveStageSet), In("sub/inner.plvsd"));
  Click(620, 490);
  EXPECT_EQ(Choose(ChooseSaveStageSet), "cancelled");
}

}  // namespace

// The signboard and difficulty dialogs, one frame at a time or run to OK, on SDL's dummy driver (the text-input
// lines take their typed text from window events).
#include <SDL2/SDL.h>

#include <cstring>

#include "../media/media_fixture.h"
#include "editor_fixture.h"

namespace {

class DialogTest : public MediaTest, protected EditorFixture {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    ResetEditor();
    for (int& handle : SignInputHandle) handle = CreateTextInput();
  }
  void TearDown() override {
    RestoreEditor();
    MediaTest::TearDown();
  }
  static void PushText(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
    SDL_PushEvent(&event);
  }
  static void PushKey(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
  }
  static void MouseAt(int x, int y, int buttons) { SetMouseOverride(1, x, y, buttons); }
  static std::u16string Line(int stage, int signboard, int line) {
    return EditorStageSet.SignboardText[stage][signboard - 1][line - 1];
  }
};

TEST_F(DialogTest, SignboardLinesBelongToTheCurrentStageOnly) {
  std::u16string stored = u"七面の看板";
  std::memcpy(EditorStageSet.SignboardText[6][1][0], stored.c_str(), 2 * stored.size());
  Editor.CurrentStage = 6;
  Editor.SignboardEditState = 2;
  // SDL keeps typed text only while text input is on: a line is active while the text is queued, and the
  // dialog's first message pump gives it to the line the dialog made active.
  ActivateTextInput(SignInputHandle[15]);
  PushText("を読め");
  MouseAt(400, 440, LeftButton);
  RunSignboardDialog();
  EXPECT_EQ(Line(6, 2, 1), u"七面の看板を読め");
  EXPECT_EQ(Line(5, 2, 1), u"");
  EXPECT_EQ(Line(6, 1, 1), u"");
  EXPECT_EQ(Editor.SignboardEditState, 0);
  EXPECT_EQ(Editor.InputCooldown, 20);
  EXPECT_FALSE(SDL_IsTextInputActive()) << "no line stays active after the dialog";
}

TEST_F(DialogTest, EnterKeepsTheLineActiveAndAClickChoosesAnother) {
  Editor.SignboardEditState = 5;
  LoadSignboardLines(1);
  ActivateTextInput(SignInputHandle[0]);
  PushText("a");
  PushKey(SDLK_RETURN);
  PumpMessages();
  EXPECT_EQ(CheckTextInput(SignInputHandle[0]), 1);
  MouseAt(100, 100, NoButton);
  EXPECT_FALSE(SignboardDialogFrame(1)) << "Enter does not close the dialog";
  EXPECT_EQ(CheckTextInput(SignInputHandle[0]), 0) << "the finished line is active again";
  PushText("b");
  PumpMessages();
  MouseAt(300, 300, LeftButton);  // third line's field: 300 .. 324
  EXPECT_FALSE(SignboardDialogFrame(1));
  PushText("c");
  PumpMessages();
  MouseAt(350, 420, LeftButton);
  EXPECT_TRUE(SignboardDialogFrame(1));
  StoreSignboardLines(1);
  EXPECT_EQ(Line(0, 1, 1), u"ab");
  EXPECT_EQ(Line(0, 1, 2), u"");
  EXPECT_EQ(Line(0, 1, 3), u"c");
}

TEST_F(DialogTest, TwentyTwoUnitLineIsStoredWhole) {
  std::u16string full(22, u'字');
  Editor.SignboardEditState = 4;
  ActivateTextInput(SignInputHandle[0]);
  for (int i = 0; i < 23; ++i) PushText("字");
  MouseAt(450, 460, LeftButton);
  RunSignboardDialog();
  EXPECT_EQ(Line(0, 4, 1), full);
}

TEST_F(DialogTest, DifficultyIsClampedWhenTheDialogOpens) {
  struct Case {
    int loaded, want;
  };
  const Case cases[] = {{0, 1}, {-5, 1}, {99, 10}, {11, 10}, {3, 3}, {1, 1}, {10, 10}};
  for (const Case& c : cases) {
    Editor.CurrentStage = 12;
    EditorStageSet.EditorDifficulty[12] = c.loaded;
    Editor.DifficultyRequest = 1;
    MouseAt(350, 380, LeftButton);
    RunDifficultyDialog();
    EXPECT_EQ(EditorStageSet.EditorDifficulty[12], c.want) << "loaded " << c.loaded;
    EXPECT_EQ(Editor.DifficultyRequest, 0);
    EXPECT_EQ(EditorStageSet.EditorDifficulty[11], 3) << "other stages keep theirs";
  }
}

TEST_F(DialogTest, DifficultyArrowsStepEverySixthFrameWithin1To10) {
  Editor.DifficultyRequest = 1;
  Editor.DifficultyRepeatCounter = 31;
  // Ten separate clicks, each held one frame and six frames apart.
  for (int click = 0; click < 10; ++click) {
    MouseAt(460, 290, LeftButton);
    EXPECT_FALSE(DifficultyDialogFrame());
    EXPECT_EQ(Editor.DifficultyArrowHighlight, 1);
    MouseAt(460, 290, NoButton);
    for (int f = 0; f < 5; ++f) DifficultyDialogFrame();
    EXPECT_EQ(Editor.DifficultyArrowHighlight, 0);
  }
  EXPECT_EQ(EditorStageSet.EditorDifficulty[0], 10);
  // Held down: one step every sixth frame, then stays at 1.
  MouseAt(469, 319, LeftButton);
  int changes = 0, last = 10;
  for (int f = 0; f < 6 * 12; ++f) {
    DifficultyDialogFrame();
    changes += EditorStageSet.EditorDifficulty[0] != last;
    last = EditorStageSet.EditorDifficulty[0];
    if (f == 5) {
      EXPECT_EQ(last, 9) << "second step not before the sixth frame";
    }
  }
  EXPECT_EQ(last, 1);
  EXPECT_EQ(changes, 9);
  MouseAt(470, 300, LeftButton);
  DifficultyDialogFrame();
  EXPECT_EQ(Editor.DifficultyArrowHighlight, 0) << "x 470 is beside the arrows";
}

}  // namespace

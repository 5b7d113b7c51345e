// Drives the editor frame by frame through KeyState and a stand-in mouse, the way the main loop does. Without a
// window the drawing does nothing; the pixel tests open the media layer on SDL's dummy driver first.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "editor/editor.h"
#include "media/media.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/stageset.h"
#include "../shell/temp_folder.h"

enum { NoButton = 0, LeftButton = 1, RightButton = 2, BothButtons = 3 };

struct CommandCounts {
  int save = 0, open = 0, help = 0;
};
inline CommandCounts Commands;

class EditorFixture {
 protected:
  void ResetEditor() {
    std::memset(KeyState, 0, sizeof KeyState);
    std::memset(PrevKeyState, 0, sizeof PrevKeyState);
    Editor = EditorState{};
    EditorStageSet = StageSet{};
    SceneId = 201;
    FadeActive = 0;
    Commands = CommandCounts{};
    EditorCommands = {[] { return ++Commands.save, -1; }, [] { return ++Commands.open, -1; },
                      [] { ++Commands.help; }};
    AutosavePathOverride = folder_.File("editor-autosave.plvsd");
    SetMouseOverride(1, 0, 0, NoButton);
  }
  void RestoreEditor() {
    SetMouseOverride(0, 0, 0, 0);
    AutosavePathOverride.clear();
  }

  // One editor frame with exactly these keys held and the mouse at (x, y) with these buttons.
  static void Frame(std::initializer_list<int> held, int x = 0, int y = 0, int buttons = NoButton) {
    std::memset(KeyState, 0, sizeof KeyState);
    for (int key : held) KeyState[key] = 1;
    SetMouseOverride(1, x, y, buttons);
    EditorInput();
    CopyKeyState();
  }
  static void Press(int key) {
    Frame({key});
    Frame({});
  }
  static int Cell(int stage, int column, int row) {
    return EditorStageSet.Maps[(stage * CustomColumns + column) * CustomRows + row];
  }

  TempFolder folder_;
};

class EditorTest : public ::testing::Test, protected EditorFixture {
 protected:
  void SetUp() override { ResetEditor(); }
  void TearDown() override { RestoreEditor(); }
};

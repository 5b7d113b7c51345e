// The stage editor's state, kept for the whole run (leaving and entering the editor resets nothing).
#pragma once

struct EditorState {
  int CurrentStage = 0;      // 0..29, shown as 1..30
  int MapScrollColumn = 0;   // 0..40
  int MapScrollRow = 0;      // 0..30
  int LeftPart = 3;          // Block
  int RightPart = 0;         // Empty
  int PaletteScroll = 0;     // 0..14
  int SignboardEditState = 0;  // 0 none; 1..4 requested; 5..8 open
  int DifficultyRequest = 0;   // 0..1
  int InputCooldown = 0;       // frames in which the mouse and the arrow keys are ignored
  int RepeatCounter = 0;       // 0..31, frames since the last scroll step
  int PaletteArrowHighlight = 0;  // 0 none, 1 up, 2 down
  int DifficultyArrowHighlight = 0;
  int DifficultyRepeatCounter = 0;
};
extern EditorState Editor;

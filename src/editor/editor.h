// The stage editor's state, kept for the whole run (leaving and entering the editor resets nothing), and the
// routines its files share.
#pragma once

#include <string>
#include <vector>

#include "editor/stage_checks.h"

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
  // The additions beyond the original editor: none of them is seen until its key is used.
  bool TrapOverlayOn = false;  // F12
  int WarningFirst = 0;        // first of the two stage warnings shown
  bool LeftWasDown = false;    // for clicks on the warnings, which act once per press
  std::u16string Notice;       // a short message over the map (why test play did not start, ...)
  int NoticeUntilMs = 0;
};
extern EditorState Editor;

// One text-input line per signboard line: line l (1..4) of signboard s (1..4) is SignInputHandle[4(s-1)+(l-1)].
extern int SignInputHandle[16];

// The map view and the legend (screen.cpp).
constexpr int MapViewLeft = 160;
constexpr int MapViewColumns = 20;
constexpr int MapViewRows = 15;
constexpr int MaxScrollColumn = 40;
constexpr int MaxScrollRow = 30;
void DrawLegendPanel();

// The palette panel (palette.cpp): scrolling and picking are part of the input handling.
constexpr int MaxPaletteScroll = 14;
void ScrollPalette(int x, int y, bool leftHeld);
void PickPaletteParts(int x, int y, bool leftHeld, bool rightHeld);
void DrawPalettePanel();
// A square of the scroll-bar picture: an up arrow, a down arrow (lit or plain) or the thumb.
void DrawScrollbarArrow(int x, int y, bool down, bool lit);

// One frame of each dialog without its loop (dialogs.cpp): true when OK was clicked this frame.
bool SignboardDialogFrame(int signboard);
bool DifficultyDialogFrame();
// The four text-input lines of a signboard: filled from the current stage, and stored back.
void LoadSignboardLines(int signboard);
void StoreSignboardLines(int signboard);

// What F4, F3 and F1 run; tests put counters in their place.
struct EditorKeyCommands {
  int (*Save)();
  int (*Open)();
  void (*Help)();
};
extern EditorKeyCommands EditorCommands;

// F1: opens the editor's help page beside the data archive (help_page.cpp).
void OpenEditorHelp();

// Undo and redo keys (history_keys.cpp). Either Ctrl key counts.
bool CtrlHeld();
// Once per editor frame, before this frame's edits: ends the step that is complete.
void WatchEditorEdits(bool buttonHeld, bool dialogRequested);
// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo; not while a dialog is requested.
void HistoryKeys(bool dialogRequested);

// Live stage checks and the trap-logic overlay (stage_marks.cpp). The marks are drawn over the map below the
// panels, the warnings in the legend panel's free corner.
void DrawMapMarks();
void DrawWarningStrip();
// A left click at (x, y): true when it was on the warnings (it scrolls the map to the warning's cell, or
// shows the next two).
bool ClickWarningStrip(int x, int y);
std::vector<StageWarning> CurrentStageWarnings();

// A message over the map for a few seconds.
void ShowEditorNotice(const std::u16string& text);
void DrawEditorNotice();

// F2, Shift+F2 and Ctrl+F2 in the editor (test_play.cpp): test play of the current stage; at the cell under
// the pointer (x, y); the clear check's replay.
void TestPlayKeys(bool dialogRequested, int x, int y);
// F10 and the clear check's state in the palette panel's free corner (clear_check_view.cpp).
void ClearCheckKeys(bool dialogRequested);
void DrawClearCheckStatus();

// The autosave of the editor's set (autosave.cpp).
constexpr int AutosaveDelayMs = 3000;
// Call after any change to the editor's set; the set is written a few seconds later.
void MarkEditorSetChanged();
// Called every editor frame: writes the set once the delay since the first unsaved change has passed.
void AutosaveTick();
// Writes the set now if it has unsaved changes (leaving the program).
void AutosaveNow();
// Reads the autosave into the editor's set, if there is a good one. true when it was restored.
bool RestoreAutosave();
// Where the autosave is kept: the game's writable file "editor-autosave.plvsd" unless a test names another.
std::string AutosavePath();
extern std::string AutosavePathOverride;

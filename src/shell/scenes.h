// The scene routines the main loop and the fades call. Each subsystem defines its own; until a routine is
// built its hook draws nothing.
#pragma once

// Title, main menu, stage selects and options (shell/menus*.cpp).
void UpdateMenuScenes();
// Staff credits (shell/credits.cpp).
void UpdateCredits();

// Play: the routines of one play frame, in this order (play/).
void DrawPlayBackground();
void DrawPlayMap();
void ControlPlayer();
void CollidePlayer();
void PlayObjectPass();
void InPlayFlow();
// Stage entries run by the shell's one-shot scenes (play/stage_start.cpp): 31, 51 and 101.
void StartBuiltinStage();
// A custom stage without start point or goal is not started: the game's message, else nullptr.
const char* StartCustomStage();
void StartNextBuiltinStage();

// Editor (editor/).
void EditorInput();
void DrawEditorMap();
void DrawEditorGrid();
void DrawEditorPanels();  // palette, part help and the legend
void RunSignboardDialog();
void RunDifficultyDialog();
// Test play from the editor (editor/test_play.cpp): scene 203 starts it, play runs as scene 100 around the two
// frame hooks, and scene 204 returns to the editor.
void StartTestPlay();
void EndTestPlay();
bool TestPlaying();
void TestPlayBeforeFrame();
void TestPlayAfterFrame();

// Start-up halves of the assets (shell/assets.cpp) and the reset of the game state.
void AssetStartupFirstHalf();
void AssetStartupSecondHalf();
void ResetGameState();
// The editor's start-up values, set at the end of the asset start-up (editor/).
void EditorStartup();
// Keeps the editor's unsaved work when the program ends, whichever way it ends (editor/).
void EditorShutdown();
// The main menu's load item: reads a custom stage set chosen in a file dialog into the play-side copy.
// 0 loaded, -1 dialog cancelled; any other result leaves the menu as it is (stage/).
int LoadCustomSetForPlay();

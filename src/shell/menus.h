// Title screen, main menu, stage selects and options: the sections of UpdateMenuScenes and their state.
#pragma once

#include "media/media.h"

// Title animation: a runner chased and caught, alternating directions.
extern float RunnerX, RunnerY;
extern float RunnerVY;
extern float RunnerSpeed;
extern int RunnerDir;
extern int RunnerFrame;
extern int RunnerFrameTimer;
extern float ChaserX, ChaserY;
extern float ChaserVX, ChaserVY;
extern int Caught;
extern int CaughtTimer;
extern int TitleTick;
// Puts the title animation back to its start-up values.
void ResetTitleAnimation();

// Selected row of the main menu (0..4), also used by the options screen.
extern int MenuCursor;
// The red "not yet" message of the built-in stage select and its remaining frames.
extern int StageSelectMessageOn;
extern int StageSelectMessageTimer;

// The sections of UpdateMenuScenes, each for its own SceneId.
void UpdateTitle();
void UpdateMainMenu();
void UpdateBuiltinStageSelect();
void UpdateCustomStageSelect();
void UpdateOptions();

// Difficulty shown in the stage selects: built-in stage index 0..29, and the custom stage index 0..29 of the
// loaded set (its difficulty clamped to 1..10).
int StageStars(int index);
int CustomStageStars(int index);

// Text centred on x = centre, measured with the font it is drawn with.
int CentredX(const char16_t* text, FontHandle font, int centre = 320);
void DrawCentredText(const char16_t* text, int y, Color color, FontHandle font, int centre = 320);
void DrawTextAt(int x, int y, const char16_t* text, Color color, FontHandle font);
// Up and Down presses move MenuCursor with the cursor sound; it stays within 0 .. itemCount - 1.
void MoveMenuCursor(int itemCount);

// The steps of the in-play flow, the last routine of every play frame, in the order it runs them.
#pragma once

// Flying fragments of broken blocks; never frozen.
void UpdateDebris();
// The message window of the signboard the player stands in front of.
void DrawSignboardWindow();
// Game-over start, blood and the game-over screen with its keys.
void GameOverStep();
// Recording a clear and the clear screens with their keys.
void StageClearStep();
// The Tab toggle and the pause screen with its keys.
void PauseStep();

// Whole number 0..n from one Random value.
int RandomUpTo(int n);

// Title screen: the prompt, and a small loop of a runner being chased and caught, alternately running left
// and running right into the chaser.
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/menus.h"

float RunnerX, RunnerY;
float RunnerVY;
float RunnerSpeed;
int RunnerDir;
int RunnerFrame;
int RunnerFrameTimer;
float ChaserX, ChaserY;
float ChaserVX, ChaserVY;
int Caught;
int CaughtTimer;
int TitleTick;

namespace {

// Pieces of ImgTitleScreenObj.
constexpr int ChaserSourceX = 0;
constexpr int RunnerSourceX = 64;  // frames 0..3 side by side, 32 wide
constexpr int CaughtSourceX = 192;
constexpr float GroundY = 320;
constexpr int CaughtPoseFrames = 120;

void DrawTitleSprites() {
  if (Caught == 0) {
    DrawPictureRegion((int)RunnerX, (int)RunnerY, RunnerSourceX + 32 * RunnerFrame, 0, 32, 64, ImgTitleScreenObj,
                      1, RunnerDir);
  } else {
    DrawPictureRegion((int)RunnerX, (int)RunnerY, CaughtSourceX, 0, 64, 64, ImgTitleScreenObj, 1, RunnerDir);
  }
  DrawPictureRegion((int)ChaserX, (int)ChaserY, ChaserSourceX, 0, 64, 64, ImgTitleScreenObj, 1, 0);
}

void MoveTitleSprites() {
  if (Caught == 0) {
    if (RunnerDir == 0) RunnerX += RunnerSpeed;
    else RunnerX -= RunnerSpeed;
    RunnerY += RunnerVY;
    ChaserY += ChaserVY;
    ChaserX += ChaserVX;
    if (TitleTick % 10 == 0) RunnerVY += 1.0f;
    if (TitleTick % 240 == 0) ChaserVX -= 0.25f;
  }
  if (RunnerY > GroundY) {
    RunnerVY = 0;
    RunnerY = GroundY;
  }
  if (RunnerDir == 0) {
    if (TitleTick % 60 == 0 && RunnerY >= GroundY) RunnerVY = -4.0f;
    if (RunnerX <= -32) RunnerX = 640;
    if (ChaserX <= -64) ChaserX = 640;
  } else {
    if (TitleTick % 50 == 0 && RunnerY >= GroundY) RunnerVY = -4.0f;
    if (RunnerX >= 640) RunnerX = -64;
    if (ChaserX <= -64) ChaserX = 640;
  }
  if (Caught == 0 && ChaserX - 60 < RunnerX && RunnerX < ChaserX + 28 && ChaserY - 60 < RunnerY &&
      RunnerY < ChaserY + 60) {
    Caught = 1;
    CaughtTimer = 0;
  }
  RunnerFrameTimer += 1;
  if (RunnerFrameTimer > 6) {
    RunnerFrame = RunnerFrame >= 3 ? 0 : RunnerFrame + 1;
    RunnerFrameTimer = 0;
  }
}

// After the caught pose has been held, the chase starts over in the other direction.
void RestartChaseIfDone() {
  if (Caught != 1) return;
  CaughtTimer += 1;
  if (CaughtTimer < CaughtPoseFrames) return;
  if (RunnerDir == 0) {
    RunnerX = -64;
    RunnerSpeed = -3.0f;
    ChaserVX = -3.5f;
    RunnerDir = 1;
  } else {
    RunnerX = 640;
    RunnerSpeed = -4.0f;
    ChaserVX = -4.0f;
    RunnerDir = 0;
  }
  RunnerVY = 0;
  ChaserVY = 0;
  TitleTick = -1;
  CaughtTimer = 0;
  Caught = 0;
  RunnerFrameTimer = 0;
  RunnerFrame = 0;
  ChaserY = 320;
  ChaserX = 1024;
  RunnerY = 320;
}

}  // namespace

void ResetTitleAnimation() {
  RunnerX = 640;
  RunnerY = 320;
  RunnerVY = 0;
  RunnerSpeed = -4.0f;
  RunnerDir = 0;
  RunnerFrame = 0;
  RunnerFrameTimer = 0;
  ChaserX = 1024;
  ChaserY = 320;
  ChaserVX = -4.0f;
  ChaserVY = 0;
  Caught = 0;
  CaughtTimer = 0;
  TitleTick = 0;
}

void UpdateTitle() {
  const Color white = MakeColor(255, 255, 255);
  DrawPicture(0, 0, ImgTitleScreen, 0);
  DrawCentredText(u"Enterキーでスタート!!", 380, white, Font48);
  if (KeyPressed(KeyEnter) && FadeActive == 0) {
    PlaySoundEffect(SeConfirm);
    SceneId = 20;
    ConsumeKey(KeyEnter);
  }
  DrawTitleSprites();
  MoveTitleSprites();
  RestartChaseIfDone();
  DrawCentredText(u"© 2026 Pelvoro Team", 432, white, Font36, 240);
  DrawTextAt(512, 448, u"Ver.1.15", white, Font20Edge);
  TitleTick += 1;
}

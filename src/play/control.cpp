// The player's control step: keys into velocity, gravity, friction, the walk animation, drawing the girl and
// her count balloon, movement, then the scroll rule. All physics is single precision, in this order.
#include "play/playstate.h"
#include "play/scroll.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/scenes.h"

namespace {

float Clamp(float v, float low, float high) {
  if (v < low) return low;
  if (v > high) return high;
  return v;
}

bool PlayerFrozen() {
  return Play.GoalReached != 0 || Play.ScrollState != 0 || FadeActive == 1 || Play.Paused == 1;
}

void ApplyControl() {
  PlayState& p = Play;
  const float accel = p.PlayerOnIce == 0 ? 0.95f : 0.125f;
  if (KeyState[KeyLeft] == 1) {
    p.PlayerVX -= accel;
    p.PlayerFacing = 0;
  }
  if (KeyState[KeyRight] == 1) {
    p.PlayerVX += accel;
    p.PlayerFacing = 1;
  }
  if (KeyState[KeyZ] == 1 && p.JumpKeyWasDown == 0 && p.PlayerOnIce == 0 && p.PlayerAirborne == 0) {
    PlaySoundEffect(SeJump);
    if (p.BalloonState == 1) {
      p.PlayerAirborne = 0;  // with a balloon every press lifts again, also in mid-air
      p.PlayerVY = -1.4f;
    } else {
      p.PlayerAirborne = 1;
      p.PlayerVY = -4.3f;
    }
  }
  p.JumpKeyWasDown = KeyState[KeyZ];
  if (p.BalloonState != 1) {
    p.PlayerVY += 0.125f;
    p.PlayerVY = Clamp(p.PlayerVY, -4.3f, 4.3f);
    if (p.PlayerVY > 0.0f) p.PlayerAirborne = 1;  // walked off a ledge
  } else {
    p.PlayerVY += 0.03125f;
    p.PlayerVY = Clamp(p.PlayerVY, -1.4f, 1.4f);
  }
  p.PlayerVX = Clamp(p.PlayerVX, -2.0f, 2.0f);
  p.PlayerVX *= p.PlayerOnIce == 1 ? 0.97f : 0.8f;
  p.PlayerWalkDistance += p.PlayerVX;
  if (p.PlayerWalkDistance > 6.65f || p.PlayerWalkDistance < -6.65f) {
    p.PlayerWalkFrame = (p.PlayerWalkFrame + 1) % 4;
    p.PlayerWalkDistance = 0.0f;
  }
}

int ScreenX(float x) { return static_cast<int>(x) + Play.ScrollX; }
int ScreenY(float y) { return static_cast<int>(y) + Play.ScrollY; }

void DrawGirlAndBalloon(bool frozen) {
  PlayState& p = Play;
  DrawPictureRegion(ScreenX(p.PlayerX), ScreenY(p.PlayerY), 16 * p.PlayerWalkFrame, 0, 16, 32, ImgGirl, 1,
                    p.PlayerFacing == 1);
  if (p.BalloonState == 1) {
    p.BalloonX = p.PlayerX - 8.0f;
    p.BalloonY = p.PlayerY - 48.0f;
    if (p.BalloonTimer >= 1 && p.BalloonTimer <= 2160) {
      const int i = (p.BalloonTimer - 1) / 60;  // frame i: i + 1 seconds left
      DrawPictureRegion(ScreenX(p.BalloonX), ScreenY(p.BalloonY), 32 * (i % 20), 48 * (i / 20), 32, 48,
                        ImgCountBalloon, 1, 0);
    }
    p.PlayerAirborne = 0;
    if (!frozen) p.BalloonTimer -= 1;
    if (p.BalloonTimer < 1) p.BalloonState = 0;  // runs out without a burst
  }
  if (p.BalloonState == 2) {
    if (p.BalloonTimer >= 0 && p.BalloonTimer < 60)
      DrawPictureRegion(ScreenX(p.BalloonX), ScreenY(p.BalloonY), 512 + 32 * (p.BalloonTimer / 15), 48, 32, 48,
                        ImgCountBalloon, 1, 0);
    if (!frozen) p.BalloonTimer += 1;
    if (p.BalloonTimer >= 60) {
      p.BalloonState = 0;
      p.BalloonTimer = 0;
    }
  }
}

}  // namespace

void ControlPlayer() {
  PlayState& p = Play;
  const bool frozen = PlayerFrozen();
  if (p.PlayPhase == 0) {
    if (!frozen) ApplyControl();
    DrawGirlAndBalloon(frozen);
  }
  if (p.PlayPhase == 1)
    DrawPictureRegion(ScreenX(p.PlayerX), ScreenY(p.PlayerY), 96, 0, 32, 32, ImgGirl, 1, p.PlayerVX >= 0.0f);
  if (p.PlayPhase == 0 && !frozen) {
    p.PlayerX += p.PlayerVX;
    p.PlayerY += p.PlayerVY;
  }
  ScrollView();
  p.PlayerOnIce = 0;
}

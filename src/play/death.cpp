// Death: the game-over start, the blood drops and the game-over screen with its keys.
#include "play/inplay_flow.h"
#include "play/objects.h"
#include "play/play_map.h"
#include "play/playstate.h"
#include "play/stage_start.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "stage/catalogue.h"

int RandomUpTo(int n) {
  return static_cast<int>((static_cast<uint64_t>(Random()) * static_cast<uint64_t>(n + 1)) >> 32);
}

// The parts blood settles on; the invisible block lets it through.
static bool IsBloodSolid(int part) {
  return (part >= Block && part <= SaveBlockPressed6) || (part >= LockBlock1 && part <= LockBlock3) ||
         (part >= BalloonBlock6 && part <= BalloonBlock36) || part == BreakableBlock || part == IceBlock;
}

namespace {

struct BloodSolidTable {
  bool Solid[256];
  BloodSolidTable() {
    for (int p = 0; p < 256; ++p) Solid[p] = IsBloodSolid(p);
  }
};
const BloodSolidTable BloodSolid;

}  // namespace

static void StartGameOver() {
  if (Play.DeadState < 1 || Play.DeadState > 5 || Play.PlayPhase != 0) return;
  PlaySoundEffect(SeGameOver);
  StopSound(MusicHandle[1]);
  Play.PlayPhase = 1;
  BloodState = 1;
}

// The drops burst from the middle of the fallen player, most of them upward.
static void SpawnBlood() {
  const float x = Play.PlayerX + 8, y = Play.PlayerY + 16;
  for (BloodDrop& drop : BloodDrops) {
    drop.Alive = 1;
    drop.X = x;
    drop.Y = y;
  }
  for (BloodDrop& drop : BloodDrops) {
    drop.VX = static_cast<float>(RandomUpTo(800) - 400);
    drop.VY = static_cast<float>(RandomUpTo(800) - 650);
  }
  BloodState = 2;
}

// The map being played, read directly: the drops look at up to four cells each, 512 times a frame.
struct BloodMap {
  const uint8_t* Cells;  // column-major, 45 rows per column
  int Width, Height;
  bool SolidAt(int c, int r) const { return BloodSolid.Solid[Cells[c * StageMapRows + r]]; }
};

// A drop resting on a block is put back on its top every frame; one against a side creeps down it.
static void SettleDrop(const BloodMap& map, float& x, float& y, float& vx, float& vy) {
  // A living drop lies inside the map, so x and y are small and not negative; x * (1 / 32) is exactly x / 32.
  const int c0 = static_cast<int>(x * 0.03125f), r0 = static_cast<int>(y * 0.03125f);
  const bool nextColumn = c0 + 1 < map.Width, nextRow = r0 + 1 < map.Height;
  // Which of the (up to) four cells are solid, in visiting order: column by column, top to bottom. Most
  // windows hold none, and one test for all four is cheaper than four unpredictable ones.
  unsigned solid = map.SolidAt(c0, r0) | (nextRow && map.SolidAt(c0, r0 + 1)) << 1 |
                   (nextColumn && map.SolidAt(c0 + 1, r0)) << 2 |
                   (nextColumn && nextRow && map.SolidAt(c0 + 1, r0 + 1)) << 3;
  while (solid != 0) {
    const int i = __builtin_ctz(solid);
    solid &= solid - 1;
    const int c = c0 + (i >> 1), r = r0 + (i & 1);
    const float C = static_cast<float>(32 * c), R = static_cast<float>(32 * r);
    if (vy >= 0 && C <= x && x <= C + 32 && R - 2 <= y && y <= R + 2) {
      vy = 0.8f;
      y = R - 1;
    }
    if (vy < 0 && C <= x && x <= C + 32 && R + 28 <= y && y <= R + 32) {
      vy = 2.4f;
      y = R + 31;
    }
    if (vx >= 0 && C <= x && x <= C + 8 && R <= y && y <= R + 32) {
      vx = -0.2f;
      x = C - 1;
    }
    if (vx < 0 && C + 24 <= x && x <= C + 32 && R <= y && y <= R + 32) {
      vx = 0.2f;
      x = C + 31;
    }
  }
}

static void RunBlood() {
  SetBlendMode(BlendAlpha, 200);
  const bool draw = BloodOn == 1;
  BloodMap map{PlayMapBase(), PlayMapWidth(), PlayMapHeight()};
  if (Play.PlaySource == 1 && (CustomStageIndex < 0 || CustomStageIndex >= CustomStageCount)) map.Width = 0;
  const float right = static_cast<float>(32 * map.Width - 32), bottom = static_cast<float>(32 * map.Height - 32);
  for (BloodDrop& drop : BloodDrops) {
    if (drop.Alive != 1) continue;
    // Drawn where it was before this frame's movement.
    if (draw)
      DrawPicture(TruncToInt(drop.X) + Play.ScrollX - 1, TruncToInt(drop.Y) + Play.ScrollY - 1, ImgLiquid, 1);
    float x = drop.X, y = drop.Y;
    float vx = drop.VX * 0.9875f;
    x += drop.VX / 200;
    y += drop.VY / 200;
    float vy = drop.VY + 9;
    if (x < 0 || y < 0 || x > right || y > bottom) drop.Alive = 0;
    if (vx < -800) vx = -800;
    if (vx > 800) vx = 800;
    if (vy < -800) vy = -800;
    if (vy > 800) vy = 800;
    if (drop.Alive == 1) SettleDrop(map, x, y, vx, vy);
    drop.X = x;
    drop.Y = y;
    drop.VX = vx;
    drop.VY = vy;
  }
}

static void GameOverScreen() {
  DrawPicture(0, 0, ImgGameOver, 1);
  // The restart does not ask for a scene change, so it does not look at SceneId.
  if (KeyPressed(KeyR)) {
    RestartFromLastSave();
    ConsumeKey(KeyR);
  }
  if (KeyPressed(KeyS) && SceneId == 100) {
    PlaySoundEffect(SeConfirm);
    SceneId = Play.PlaySource == 0 ? 102 : 103;
    ConsumeKey(KeyS);
  }
}

void GameOverStep() {
  StartGameOver();
  if (BloodState == 1) SpawnBlood();
  if (BloodState == 2) RunBlood();
  SetBlendMode(BlendNone, 0);
  if (Play.PlayPhase == 1) GameOverScreen();
}

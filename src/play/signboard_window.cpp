// The message window shown while the player stands in front of a signboard.
#include "play/inplay_flow.h"
#include "play/playstate.h"
#include "shell/assets.h"
#include "stage/stagedata.h"

// Copies at most units - 1 units and always ends the copy, whatever the loader left in the buffer.
static void CopyLine(char16_t* out, const char16_t* line, int units) {
  int i = 0;
  for (; i < units - 1 && line[i] != 0; ++i) out[i] = line[i];
  out[i] = 0;
}

void DrawSignboardWindow() {
  const int s = Play.SignboardShown;
  if (s < 1 || s > 4) return;
  SetBlendMode(BlendAlpha, 200);
  DrawRect(40, 160, 600, 320, MakeColor(0, 0, 0), 1);
  SetBlendMode(BlendNone, 0);
  const bool custom = Play.PlaySource == 1 && CustomStageIndex >= 0 && CustomStageIndex < CustomStageCount;
  for (int k = 1; k <= 4; ++k) {
    char16_t line[SignboardLineUnits];
    if (custom)
      CopyLine(line, CustomSignboardText[CustomStageIndex][s - 1][k - 1], CustomLineUnits);
    else if (Play.PlaySource == 1)
      line[0] = 0;
    else
      CopyLine(line, SignboardText[s - 1][k - 1], SignboardLineUnits);
    DrawFormattedTextWithFont(60, 180 + 30 * (k - 1), MakeColor(255, 255, 255), Font20Edge, u"%s", line);
  }
}

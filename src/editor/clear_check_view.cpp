// F10 in the editor: starts the clear check of the current stage, or cancels the one that runs, and shows
// what is known in the free corner of the palette panel (below the right part's help lines).
#include <algorithm>

#include "editor/clear_check.h"
#include "editor/editor.h"
#include "media/media.h"
#include "shell/assets.h"
#include "shell/game.h"

namespace {

constexpr int Left = 4, Top = 556, Right = 156;

}  // namespace

void ClearCheckKeys(bool dialogRequested) {
  UpdateClearCheck();
  if (dialogRequested || !KeyPressed(KeyF10)) return;
  ConsumeKey(KeyF10);
  if (ClearCheckRunning()) CancelClearCheck();
  else StartClearCheck(Editor.CurrentStage);
}

void DrawClearCheckStatus() {
  const Color white = MakeColor(255, 255, 255);
  const int t = Editor.CurrentStage;
  if (ClearCheckRunning()) {
    if (ClearCheckStage() == t) {
      DrawTextWithFont(Left, Top, u"クリア確認中 (F10で中止)", white, EditorFont12, 0, 0);
    } else {
      DrawFormattedTextWithFont(Left, Top, white, EditorFont12, u"ステージ%dのクリア確認中", ClearCheckStage() + 1);
    }
    // The bar fills with the time used of the budget: the search may end any time before.
    const double share = std::clamp(ClearCheckSeconds() / ClearCheckBudgetSeconds, 0.0, 1.0);
    DrawRect(Left, Top + 15, Right, Top + 27, MakeColor(51, 51, 51), 1);
    DrawRect(Left + 1, Top + 16, Left + 1 + static_cast<int>((Right - Left - 2) * share), Top + 26,
             MakeColor(64, 200, 96), 1);
    DrawFormattedTextWithFont(Left, Top + 30, white, EditorFont12, u"%d / %d秒", static_cast<int>(ClearCheckSeconds()),
                              static_cast<int>(ClearCheckBudgetSeconds));
    return;
  }
  int clearFrame = 0;
  switch (StageProof(t, &clearFrame)) {
    case ProofFound:
      DrawTextWithFont(Left, Top, u"クリア確認済み", MakeColor(127, 255, 127), EditorFont14Edge, 0, 0);
      DrawFormattedTextWithFont(Left, Top + 16, white, EditorFont12, u"%dフレームでゴール", clearFrame);
      DrawTextWithFont(Left, Top + 30, u"Ctrl+F2で再生を見る", white, EditorFont12, 0, 0);
      break;
    case ProofNotFound:
      DrawFormattedTextWithFont(Left, Top, MakeColor(255, 200, 120), EditorFont12, u"%d秒ではクリアする操作が",
                                static_cast<int>(ClearCheckBudgetSeconds));
      DrawTextWithFont(Left, Top + 14, u"見つかりませんでした", MakeColor(255, 200, 120), EditorFont12, 0, 0);
      DrawTextWithFont(Left, Top + 30, u"(F10でもう一度)", white, EditorFont12, 0, 0);
      break;
    case ProofNone:
      break;
  }
}

void ShowEditorNotice(const std::u16string& text) {
  Editor.Notice = text;
  Editor.NoticeUntilMs = NowMs() + 4000;
}

void DrawEditorNotice() {
  if (Editor.Notice.empty()) return;
  if (((Editor.NoticeUntilMs - NowMs()) & 0x7FFFFFFF) > 4000) {  // passed (the clock wraps at 31 bits)
    Editor.Notice.clear();
    return;
  }
  const int width = MeasureText(Editor.Notice.c_str(), static_cast<int>(Editor.Notice.size()), EditorFont20);
  DrawRect(MapViewLeft + 8, 8, MapViewLeft + 24 + width, 42, MakeColor(0, 0, 0), 1);
  DrawRect(MapViewLeft + 8, 8, MapViewLeft + 24 + width, 42, MakeColor(255, 224, 64), 0);
  DrawTextWithFont(MapViewLeft + 16, 14, Editor.Notice.c_str(), MakeColor(255, 224, 64), EditorFont20, 0, 0);
}

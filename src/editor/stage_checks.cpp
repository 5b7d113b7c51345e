#include "editor/stage_checks.h"

#include <string>

#include "stage/catalogue.h"
#include "stage/stagedata.h"

namespace {

// "1SLM": the code the part help gives a trap spike's trigger.
std::u16string TriggerCode(int trapSpike) {
  const int k = trapSpike - TrapSpikeFirst;
  std::u16string code;
  code += static_cast<char16_t>(u'1' + k / 8);
  code += (k % 8 < 4) ? u'S' : u'F';
  code += u"LRUD"[k % 4];
  code += u'M';
  return code;
}

std::u16string Number(int n) {
  std::u16string s;
  for (char ch : std::to_string(n)) s += static_cast<char16_t>(ch);
  return s;
}

}  // namespace

std::vector<StageWarning> CheckEditorStage(const uint8_t* cells) {
  std::vector<StageWarning> out;
  bool present[256] = {};
  int firstCol[256], firstRow[256];
  int starts = 0;
  std::vector<StageWarning> extraStarts, locks;
  for (int c = 0; c < CustomColumns; c++)
    for (int r = 0; r < CustomRows; r++) {
      const uint8_t p = cells[c * CustomRows + r];
      if (!present[p]) {
        present[p] = true;
        firstCol[p] = c;
        firstRow[p] = r;
      }
      if (p == StartPoint && ++starts > 1)
        extraStarts.push_back({c, r, u"使われないスタート地点です"});
      if (p >= LockBlock1 && p <= Key3)
        locks.push_back({c, r, p <= LockBlock3 ? u"カギブロックは自作ステージでは消えます"
                                               : u"カギは自作ステージでは消えます"});
    }
  if (starts == 0) out.push_back({-1, -1, u"スタート地点がありません"});
  out.insert(out.end(), extraStarts.begin(), extraStarts.end());
  if (!present[GoalFlag]) out.push_back({-1, -1, u"ゴールがありません"});
  for (int p = TrapSpikeFirst; p <= TrapSpikeLast; p++) {
    const int trigger = TriggerOfTrapSpike(p);
    if (present[p] && !present[trigger])
      out.push_back({firstCol[p], firstRow[p],
                     u"トゲ" + Number(p) + u"を動かす" + TriggerCode(p) + u"(" + Number(trigger) + u")がありません"});
    if (present[trigger] && !present[p])
      out.push_back({firstCol[trigger], firstRow[trigger],
                     TriggerCode(p) + u"(" + Number(trigger) + u")で動くトゲ" + Number(p) + u"がありません"});
  }
  for (int n = 1; n <= 6; n++) {
    const int block = 2 * n + 2, restart = RestartPointOfSaveBlock(block);
    if (present[block] && !present[restart])
      out.push_back({firstCol[block], firstRow[block],
                     u"セーブ" + Number(n) + u"の再開地点(" + Number(restart) + u")がありません"});
  }
  out.insert(out.end(), locks.begin(), locks.end());
  return out;
}

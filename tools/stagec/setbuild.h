// Stage sources into a stage-set file: each source becomes one stage of the set, in the order given.
#pragma once

#include <string>

#include "stage/stageset.h"
#include "stagesource.h"

namespace stagec {

constexpr int SetLineUnits = 32;  // what the file keeps of a signboard line

// Reads the source of a stage of a set: at most 60 x 45 cells.
inline StageSource ParseSetStage(const std::string& text) { return ParseStage(text, CustomColumns, CustomRows); }

// The limit of a set's signboard lines, added to s.Errors: at most 32 units.
inline void CheckSetStage(StageSource& s) {
  for (int sign = 0; sign < 4; ++sign)
    for (int line = 0; line < 4; ++line)
      if (s.Signs[sign][line].size() > static_cast<size_t>(SetLineUnits))
        s.Errors.push_back("signboard " + std::to_string(sign + 1) + " line " + std::to_string(line + 1) + " is " +
                           std::to_string(s.Signs[sign][line].size()) + " units; a set keeps 32");
}

// Stage t of the set: the map at the top-left of the 60 x 45 stage (the rest Empty), the stars as the
// difficulty (3 when the source gives none), the signboard lines.
inline void PutStageIntoSet(const StageSource& s, int t, StageSet* set) {
  uint8_t* map = set->Maps + t * CustomCells;
  for (int c = 0; c < CustomColumns; ++c)
    for (int r = 0; r < CustomRows; ++r)
      map[c * CustomRows + r] = c < s.Width && r < s.Height ? CellAt(s, c, r) : 0;
  set->EditorDifficulty[t] = s.StarsGiven ? s.Stars : 3;
  for (int sign = 0; sign < 4; ++sign)
    for (int line = 0; line < 4; ++line) {
      char16_t* buffer = set->SignboardText[t][sign][line];
      for (int u = 0; u < CustomLineUnits; ++u) buffer[u] = 0;
      const std::u16string& text = s.Signs[sign][line];
      // The built-in text form needs an ideographic space for an empty line; a set keeps it empty.
      if (text == u"\u3000") continue;
      for (size_t u = 0; u < text.size() && u < static_cast<size_t>(SetLineUnits); ++u) buffer[u] = text[u];
    }
}

}  // namespace stagec

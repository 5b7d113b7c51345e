// An editor stage brought into play under the custom-stage rules, on a copy: the editor's set never changes.
#pragma once

#include <cstdint>

#include "stage/stageset.h"

// Copies stage t of the set into slot t of the play-side custom set (the pristine copy without locks and
// keys, as a loaded set loses them) with its signboard lines. With startCol >= 0 the copy's start points
// give way to one at (startCol, startRow), as if it stood there.
void CopyEditorStageForPlay(const StageSet& set, int t, int startCol = -1, int startRow = -1);
// The same for the cells of one stage alone (60 x 45, column-major); the slot's signboards stay as they are.
void CopyStageCellsForPlay(const uint8_t* cells, int t, int startCol = -1, int startRow = -1);
// A fresh start of slot t under the custom rules, the play state reset whole first so that every start of
// the same copy plays the same frames. The copy must hold a start point and a goal.
void StartEditorStageCopy(int t);

// Which of the two the stage lacks, in the order the game checks them: 1 no start point, 2 no goal, 0 neither.
int MissingStartOrGoal(const uint8_t* cells);

// The play-side custom data that test play borrows, kept aside and put back afterwards, so that a set loaded
// from the main menu is as it was.
void KeepPlaySideAside();
void PutPlaySideBack();

// Undo and redo for the editor's set. The history watches the set instead of every place that changes it:
// once per editor frame it compares the set with the state it recorded last, and a difference becomes one
// step. A paint stroke is therefore one step (the comparison waits while a mouse button is held), and so is
// a dialog's OK or an F3 open (they run inside one frame).
#pragma once

#include "stage/stageset.h"

// Steps kept; older ones are forgotten.
constexpr int UndoHistoryLimit = 1000;

// Forgets every step and takes set as the state from which steps are counted.
void ResetEditorHistory(const StageSet& set);
// Records the change since the last recorded state as one step, unless a stroke is still going on.
void WatchEditorSet(const StageSet& set, bool strokeGoingOn);
// Undoes (redoes) the newest step in *set; a change not yet recorded is recorded first. *stage becomes the
// stage the step changed (the current one when it changed several, the current among them). false when
// there is nothing to undo (redo).
bool UndoEditorSet(StageSet* set, int* stage);
bool RedoEditorSet(StageSet* set, int* stage);
int UndoStepCount();
int RedoStepCount();

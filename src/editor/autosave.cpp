// The editor's set is written to a stage-set file of its own a few seconds after each change and when the
// program ends, and read back at start-up, so that Esc or a crash never loses an evening of editing.
#include <memory>

#include "editor/editor.h"
#include "media/media.h"
#include "shell/scenes.h"
#include "stage/stageset.h"

namespace {

bool Unsaved = false;
int FirstUnsavedChangeMs = 0;

void WriteAutosave() {
  // A failed write is tried again after the next delay; the editor goes on either way.
  if (WriteStageSetFile(AutosavePath(), EditorStageSet)) Unsaved = false;
  else FirstUnsavedChangeMs = NowMs();
}

}  // namespace

std::string AutosavePathOverride;

std::string AutosavePath() {
  return AutosavePathOverride.empty() ? WritableFilePath("editor-autosave.plvsd") : AutosavePathOverride;
}

void MarkEditorSetChanged() {
  if (Unsaved) return;
  Unsaved = true;
  FirstUnsavedChangeMs = NowMs();
}

// Counted from the first unsaved change, so that painting without pause is still saved every few seconds.
void AutosaveTick() {
  if (Unsaved && ((NowMs() - FirstUnsavedChangeMs) & 0x7FFFFFFF) >= AutosaveDelayMs) WriteAutosave();
}

void AutosaveNow() {
  if (Unsaved) WriteAutosave();
}

bool RestoreAutosave() {
  Unsaved = false;
  auto set = std::make_unique<StageSet>();
  if (ReadStageSetFile(AutosavePath(), set.get()) != StageSetRead) return false;
  EditorStageSet = *set;
  return true;
}

void EditorShutdown() { AutosaveNow(); }

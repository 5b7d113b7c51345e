// The editor's stage set: thirty stages of 60 x 45 cells with their difficulties and signboard lines, and the
// stage-set file ("*.plvsd") it is saved to, opened from and loaded for play from.
#pragma once

#include <cstdint>
#include <string>

#include "stage/stagedata.h"

struct StageSet {
  // Byte (t * 60 + c) * 45 + r is stage t, column c, row r; all Empty at start-up.
  uint8_t Maps[CustomStageCount * CustomCells] = {};
  // 3 for every stage at start-up; a loaded file's values are taken unchanged.
  int32_t EditorDifficulty[CustomStageCount] = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3,
                                                3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3};
  // Stage, signboard, line: a NUL-terminated line in a 64-unit buffer (the file keeps the first 32).
  char16_t SignboardText[CustomStageCount][4][4][CustomLineUnits] = {};
};
// The editor's set, alive for the whole run.
extern StageSet EditorStageSet;

constexpr int StageSetFileSize = 111848;

// Writes the set as a stage-set file, atomically (a temporary file beside the target, flushed, then renamed
// over it), so that a crash never leaves a torn file. false when it cannot be written.
bool WriteStageSetFile(const std::string& path, const StageSet& set);
// Reads a stage-set file into *set. A file that is not exactly StageSetFileSize bytes or lacks the magic is
// refused and leaves *set unchanged.
enum StageSetReadResult { StageSetRead = 0, StageSetCannotOpen = 1, StageSetRefused = 2 };
StageSetReadResult ReadStageSetFile(const std::string& path, StageSet* set);

// The file image of a set: StageSetFileSize bytes.
void EncodeStageSet(const StageSet& set, uint8_t* out);
// Takes a file image into *set: false, with *set unchanged, unless it is StageSetFileSize bytes with the
// magic. Each stored line fills the first 32 units of its buffer; the units after them are cleared.
bool DecodeStageSet(const uint8_t* bytes, size_t size, StageSet* set);

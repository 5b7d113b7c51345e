// A step is kept as the runs of bytes of the set that changed, before and after, so a stroke over a few
// cells costs a few bytes and only an open of a very different file costs much.
#include "editor/undo.h"

#include <cstddef>
#include <cstring>
#include <deque>
#include <vector>

namespace {

struct Run {
  size_t Offset;
  std::vector<uint8_t> Before, After;
};
using Step = std::vector<Run>;

std::vector<uint8_t> Recorded;  // the set as the newest step left it
std::deque<Step> Undo, Redo;

const uint8_t* Bytes(const StageSet& set) { return reinterpret_cast<const uint8_t*>(&set); }
uint8_t* Bytes(StageSet* set) { return reinterpret_cast<uint8_t*>(set); }

Step Difference(const uint8_t* before, const uint8_t* after, size_t size) {
  Step step;
  size_t i = 0;
  while (i < size) {
    if (before[i] == after[i]) {
      i++;
      continue;
    }
    size_t j = i;
    // Runs separated by a few equal bytes are joined: fewer, longer runs.
    size_t same = 0;
    while (j < size && same < 8) {
      same = before[j] == after[j] ? same + 1 : 0;
      j++;
    }
    j -= same;
    step.push_back({i, std::vector<uint8_t>(before + i, before + j), std::vector<uint8_t>(after + i, after + j)});
    i = j;
  }
  return step;
}

// The stage a byte of the set belongs to, or -1.
int StageOfOffset(size_t offset) {
  const size_t maps = offsetof(StageSet, Maps), difficulty = offsetof(StageSet, EditorDifficulty),
               signs = offsetof(StageSet, SignboardText);
  if (offset >= maps && offset < maps + sizeof(StageSet::Maps)) return static_cast<int>((offset - maps) / CustomCells);
  if (offset >= difficulty && offset < difficulty + sizeof(StageSet::EditorDifficulty))
    return static_cast<int>((offset - difficulty) / sizeof(int32_t));
  if (offset >= signs && offset < signs + sizeof(StageSet::SignboardText))
    return static_cast<int>((offset - signs) / sizeof(StageSet::SignboardText[0]));
  return -1;
}

int StageToShow(const Step& step, int current) {
  int first = -1;
  for (const Run& run : step)
    for (size_t k = 0; k < run.Before.size(); k++) {
      int t = StageOfOffset(run.Offset + k);
      if (t == current) return current;
      if (first < 0) first = t;
    }
  return first >= 0 ? first : current;
}

void Record(const StageSet& set) {
  if (Recorded.size() != sizeof(StageSet)) {
    Recorded.assign(Bytes(set), Bytes(set) + sizeof(StageSet));
    return;
  }
  if (std::memcmp(Recorded.data(), Bytes(set), sizeof(StageSet)) == 0) return;
  Undo.push_back(Difference(Recorded.data(), Bytes(set), sizeof(StageSet)));
  if (static_cast<int>(Undo.size()) > UndoHistoryLimit) Undo.pop_front();
  Redo.clear();
  std::memcpy(Recorded.data(), Bytes(set), sizeof(StageSet));
}

bool Apply(std::deque<Step>& from, std::deque<Step>& to, bool undo, StageSet* set, int* stage) {
  Record(*set);
  if (from.empty()) return false;
  Step step = std::move(from.back());
  from.pop_back();
  for (const Run& run : step) {
    const std::vector<uint8_t>& bytes = undo ? run.Before : run.After;
    std::memcpy(Bytes(set) + run.Offset, bytes.data(), bytes.size());
  }
  std::memcpy(Recorded.data(), Bytes(*set), sizeof(StageSet));
  *stage = StageToShow(step, *stage);
  to.push_back(std::move(step));
  return true;
}

}  // namespace

void ResetEditorHistory(const StageSet& set) {
  Undo.clear();
  Redo.clear();
  Recorded.assign(Bytes(set), Bytes(set) + sizeof(StageSet));
}

void WatchEditorSet(const StageSet& set, bool strokeGoingOn) {
  if (!strokeGoingOn) Record(set);
}

bool UndoEditorSet(StageSet* set, int* stage) { return Apply(Undo, Redo, true, set, stage); }
bool RedoEditorSet(StageSet* set, int* stage) { return Apply(Redo, Undo, false, set, stage); }
int UndoStepCount() { return static_cast<int>(Undo.size()); }
int RedoStepCount() { return static_cast<int>(Redo.size()); }

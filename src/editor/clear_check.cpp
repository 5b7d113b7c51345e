// The clear check: the search of pelvoro-solve on an editor stage, steered by a route derived from the cells.
//
// The play routines work on globals, and the editor keeps drawing while the search runs, so the search runs
// in a forked child process (media's child task): the child has its own copy of every global, the editor's
// are never touched, and cancelling is ending the child. The child reports its progress and its result as
// text lines through a pipe.
#include "editor/clear_check.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "editor/clear_route.h"
#include "editor/stage_for_play.h"
#include "media/media.h"
#include "play/play_map.h"
#include "play/playstate.h"
#include "shell/game.h"
#include "stage/stagedata.h"
#include "stage/stageset.h"

namespace {

// Wider beams find harder lines but cost more per frame of play; the cheap ones go first. Every other
// attempt leaves the derived route out, in case the route model misjudged the stage.
struct Attempt {
  int Beam, Macro;
  bool Route;
};
const Attempt Attempts[] = {
    {200, 6, true}, {200, 6, false}, {800, 6, true}, {800, 4, false},
    {3000, 6, true}, {3000, 8, false}, {10000, 6, true}, {10000, 6, false},
};

}  // namespace

ClearCheckResult RunClearCheck(const uint8_t* cells, double budgetSeconds,
                               const std::function<bool(double, const ClearSearchProgress&)>& progress) {
  ClearCheckResult result;
  const int missing = MissingStartOrGoal(cells);
  if (missing != 0) {
    result.Outcome = missing == 1 ? ClearCheckNoStart : ClearCheckNoGoal;
    return result;
  }
  const auto started = std::chrono::steady_clock::now();
  auto seconds = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  };
  const std::string derived = DeriveClearRoute(cells);
  const int slot = 0;
  CopyStageCellsForPlay(cells, slot, -1, -1);
  SceneId = 100;
  for (const Attempt& attempt : Attempts) {
    if (!attempt.Route && derived.empty()) continue;  // the same search as the one before
    const double left = budgetSeconds - seconds();
    if (left <= 0) break;
    StartEditorStageCopy(slot);
    SceneId = 100;
    std::vector<RouteWaypoint> route = ParseRoute(attempt.Route ? derived : std::string());
    AppendGoalWaypoint(&route);
    ClearSearchSettings settings;
    settings.Beam = attempt.Beam;
    settings.Macro = attempt.Macro;
    settings.MaxFrames = 20000;
    settings.BudgetSeconds = left;
    ClearSearchResult found = SearchClearReplay(route, settings, [&](const ClearSearchProgress& p) {
      return !progress || progress(seconds(), p);
    });
    if (found.Cancelled) {
      result.Outcome = ClearCheckCancelled;
      result.Seconds = seconds();
      return result;
    }
    if (found.Found) {
      result.Outcome = ClearCheckFound;
      result.Frames = found.Frames;
      result.Frames.resize(found.ClearFrame);  // nothing after the goal is needed
      result.ClearFrame = found.ClearFrame;
      result.Seconds = seconds();
      return result;
    }
  }
  result.Outcome = ClearCheckNotFound;
  result.Seconds = seconds();
  return result;
}

// ---- The check in the editor

namespace {

struct Proof {
  std::vector<uint8_t> Cells;  // the stage as it was searched
  StageProofState State = ProofNone;
  std::vector<uint8_t> Frames;
  int ClearFrame = 0;
};
Proof Proofs[CustomStageCount];

struct Job {
  int Stage = -1;
  std::vector<uint8_t> Cells;
  std::string Received;
  double Seconds = 0;
};
Job Running;

const uint8_t* StageCells(int t) { return EditorStageSet.Maps + t * CustomCells; }
bool SameCells(const std::vector<uint8_t>& cells, int t) {
  return cells.size() == static_cast<size_t>(CustomCells) && std::memcmp(cells.data(), StageCells(t), CustomCells) == 0;
}

// Child side: the whole check, reported as lines.
void CheckInChild(std::vector<uint8_t> cells) {
  int last = -1;
  ClearCheckResult r = RunClearCheck(cells.data(), ClearCheckBudgetSeconds,
                                     [&](double seconds, const ClearSearchProgress&) {
                                       int tenth = static_cast<int>(seconds * 10);
                                       if (tenth != last) {
                                         last = tenth;
                                         WriteChildReport("progress " + std::to_string(seconds) + "\n");
                                       }
                                       return true;
                                     });
  if (r.Outcome == ClearCheckFound) {
    std::string keys;
    for (uint8_t k : r.Frames) keys += static_cast<char>('0' + k);
    WriteChildReport("found " + std::to_string(r.ClearFrame) + " " + keys + "\n");
  } else {
    WriteChildReport("notfound\n");
  }
}

void TakeLine(const std::string& line) {
  std::istringstream in(line);
  std::string word;
  in >> word;
  Proof& proof = Proofs[Running.Stage];
  if (word == "progress") {
    in >> Running.Seconds;
  } else if (word == "found") {
    std::string keys;
    in >> proof.ClearFrame >> keys;
    proof.Frames.clear();
    for (char k : keys) proof.Frames.push_back(static_cast<uint8_t>(k - '0'));
    proof.Cells = Running.Cells;
    proof.State = ProofFound;
  } else if (word == "notfound") {
    proof = Proof{};
    proof.Cells = Running.Cells;
    proof.State = ProofNotFound;
  }
}

}  // namespace

void StartClearCheck(int t) {
  CancelClearCheck();
  Running = Job{};
  Running.Stage = t;
  Running.Cells.assign(StageCells(t), StageCells(t) + CustomCells);
  std::vector<uint8_t> cells = Running.Cells;
  if (!StartChildTask([cells] { CheckInChild(cells); })) Running.Stage = -1;
}

void CancelClearCheck() {
  CancelChildTask();
  Running = Job{};
}

void UpdateClearCheck() {
  if (Running.Stage < 0) return;
  if (!SameCells(Running.Cells, Running.Stage)) {  // edited meanwhile: the answer would be for another stage
    CancelClearCheck();
    return;
  }
  const bool alive = ReadChildTask(&Running.Received);
  size_t end;
  while ((end = Running.Received.find('\n')) != std::string::npos) {
    TakeLine(Running.Received.substr(0, end));
    Running.Received.erase(0, end + 1);
  }
  if (!alive) Running = Job{};
}

bool ClearCheckRunning() { return Running.Stage >= 0; }
int ClearCheckStage() { return Running.Stage; }
double ClearCheckSeconds() { return Running.Seconds; }

StageProofState StageProof(int t, int* clearFrame) {
  if (t < 0 || t >= CustomStageCount || !SameCells(Proofs[t].Cells, t)) return ProofNone;
  if (clearFrame != nullptr) *clearFrame = Proofs[t].ClearFrame;
  return Proofs[t].State;
}

std::vector<uint8_t> StageProofFrames(int t) {
  if (StageProof(t) != ProofFound) return {};
  return Proofs[t].Frames;
}

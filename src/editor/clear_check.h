// The automatic clear check (F10): a search for a replay that clears an editor stage, run by the game's own
// play frame under the custom rules. It never proves a stage impossible; it only finds a clear or not.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "play/clear_search.h"

constexpr double ClearCheckBudgetSeconds = 60;

enum ClearCheckOutcome {
  ClearCheckFound = 0,
  ClearCheckNotFound = 1,  // not within the budget
  ClearCheckCancelled = 2,
  ClearCheckNoStart = 3,
  ClearCheckNoGoal = 4,
};

struct ClearCheckResult {
  ClearCheckOutcome Outcome = ClearCheckNotFound;
  std::vector<uint8_t> Frames;  // held keys per frame (SearchKey bits), when found
  int ClearFrame = 0;           // frame in which the goal was reached
  double Seconds = 0;
};

// Headless entry: searches on the play globals of this process (slot 0 of the play-side custom set), with
// wider and wider beams until one clears or the budget is used up. cells: one stage, 60 x 45, column-major.
// progress gets the seconds used and the search's report; returning false cancels.
ClearCheckResult RunClearCheck(const uint8_t* cells, double budgetSeconds,
                               const std::function<bool(double, const ClearSearchProgress&)>& progress = {});

// ---- The check in the editor: one search at a time in a child process, so that the editor goes on.

// Starts the check of stage t of the editor's set (cancels one that runs).
void StartClearCheck(int t);
void CancelClearCheck();
// Once per editor frame: reads the child's reports; cancels the search when its stage was edited meanwhile.
void UpdateClearCheck();
bool ClearCheckRunning();
int ClearCheckStage();          // stage being searched, -1 when none
double ClearCheckSeconds();     // seconds used so far by the running search

// What is known about stage t as it stands now (a proof holds only for the cells it was found on).
enum StageProofState { ProofNone = 0, ProofFound = 1, ProofNotFound = 2 };
StageProofState StageProof(int t, int* clearFrame = nullptr);
// The proof's keys as replay frames, for watching it; empty when stage t has no proof.
std::vector<uint8_t> StageProofFrames(int t);

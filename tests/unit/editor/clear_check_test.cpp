// The clear check finds replays that clear committed stages, within the default budget and through the
// headless entry point; each replay is played back by the game's frame and must reach the goal alive.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "editor/clear_check.h"
#include "editor/clear_route.h"
#include "editor/stage_for_play.h"
#include "media/media.h"
#include "play/play_frame.h"
#include "play/playstate.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "stage_sources.h"
#include "stage/stageset.h"

namespace {

void Refuse(const char* text) { throw std::runtime_error(text); }

class ClearCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFatalHandler(Refuse);
    SaveDataPath = nullptr;
    SetDrawingEnabled(0);
    SeedRandom(0);
  }
};

struct Playback {
  bool Cleared = false;
  int ClearFrame = 0;
  int Deaths = 0;
  bool CarriedBalloon = false;
};

// Plays frames on a fresh start of the cells, as test play does.
Playback PlayFrames(const std::vector<uint8_t>& cells, const std::vector<ReplayFrame>& frames, int extra = 0) {
  CopyStageCellsForPlay(cells.data(), 0);
  StartEditorStageCopy(0);
  SceneId = 100;
  Playback out;
  const int total = static_cast<int>(frames.size()) + extra;
  for (int f = 0; f < total; f++) {
    if (f < static_cast<int>(frames.size())) std::memcpy(KeyState, frames[f].data(), 256);
    else std::memset(KeyState, 0, 256);
    RunPlayRoutines();
    CopyKeyState();
    if (Play.BalloonState == 1) out.CarriedBalloon = true;
    if (Play.DeadState != 0) {
      out.Deaths++;
      break;
    }
    if (Play.GoalReached != 0 && !out.Cleared) {
      out.Cleared = true;
      out.ClearFrame = f + 1;
      break;
    }
  }
  return out;
}

std::vector<ReplayFrame> Hold(int keys, int frames) {
  return SearchFramesToReplay(std::vector<uint8_t>(frames, static_cast<uint8_t>(keys)));
}

const char* const ProvenStages[] = {"walk", "trap", "balloon", "roving", "bouncer"};

TEST_F(ClearCheck, FindsAClearOfEachCommittedStageWithinTheDefaultBudget) {
  for (const char* name : ProvenStages) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> cells = EditorStageFromSource(name);
    ClearCheckResult r = RunClearCheck(cells.data(), ClearCheckBudgetSeconds);
    ASSERT_EQ(r.Outcome, ClearCheckFound);
    EXPECT_LT(r.Seconds, ClearCheckBudgetSeconds);
    EXPECT_EQ(static_cast<int>(r.Frames.size()), r.ClearFrame);
    Playback p = PlayFrames(cells, SearchFramesToReplay(r.Frames));
    EXPECT_TRUE(p.Cleared);
    EXPECT_EQ(p.Deaths, 0);
    EXPECT_EQ(p.ClearFrame, r.ClearFrame);
    std::printf("%-8s cleared in %d frames, found in %.1f s\n", name, r.ClearFrame, r.Seconds);
  }
}

TEST_F(ClearCheck, TheTrapStageKillsAGirlWhoWalksStraightOn) {
  std::vector<uint8_t> cells = EditorStageFromSource("trap");
  Playback p = PlayFrames(cells, Hold(SearchKeyRight, 600));
  EXPECT_EQ(p.Deaths, 1);
  EXPECT_FALSE(p.Cleared);
}

TEST_F(ClearCheck, TheBalloonStageIsClearedOnlyWithABalloon) {
  std::vector<uint8_t> cells = EditorStageFromSource("balloon");
  EXPECT_EQ(DeriveClearRoute(cells.data()), "7,11:hit 7,10:balloon");
  ClearCheckResult r = RunClearCheck(cells.data(), ClearCheckBudgetSeconds);
  ASSERT_EQ(r.Outcome, ClearCheckFound);
  EXPECT_TRUE(PlayFrames(cells, SearchFramesToReplay(r.Frames)).CarriedBalloon);
}

TEST_F(ClearCheck, AWalledInGoalIsReportedNotFoundNeverImpossible) {
  std::vector<uint8_t> cells = EditorStageFromSource("walled");
  ClearCheckResult r = RunClearCheck(cells.data(), 3);
  EXPECT_EQ(r.Outcome, ClearCheckNotFound);
  EXPECT_TRUE(r.Frames.empty());
  EXPECT_GE(r.Seconds, 3);
}

TEST_F(ClearCheck, AStageWithoutStartOrGoalIsNotSearched) {
  std::vector<uint8_t> cells = EditorStageFromRows({"..G", "###"});
  EXPECT_EQ(RunClearCheck(cells.data(), 1).Outcome, ClearCheckNoStart);
  cells = EditorStageFromRows({"S..", "###"});
  EXPECT_EQ(RunClearCheck(cells.data(), 1).Outcome, ClearCheckNoGoal);
}

TEST_F(ClearCheck, CancellingFromTheProgressReportStopsTheSearch) {
  std::vector<uint8_t> cells = EditorStageFromSource("walled");
  int calls = 0;
  ClearCheckResult r = RunClearCheck(cells.data(), 60, [&](double, const ClearSearchProgress&) { return ++calls < 5; });
  EXPECT_EQ(r.Outcome, ClearCheckCancelled);
  EXPECT_EQ(calls, 5);
}

// The editor's check runs in a child process; the parent's play state and the editor's set stay as they were.
bool WaitForCheck(double seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (ClearCheckRunning() && std::chrono::steady_clock::now() < end) {
    UpdateClearCheck();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return !ClearCheckRunning();
}

TEST_F(ClearCheck, TheEditorsCheckRunsBesideTheEditorAndKeepsItsProofWithTheCells) {
  std::vector<uint8_t> cells = EditorStageFromSource("walk");
  std::memcpy(EditorStageSet.Maps + 4 * CustomCells, cells.data(), CustomCells);
  Play = PlayState{};
  Play.PlayerX = 12345;
  StartClearCheck(4);
  EXPECT_TRUE(ClearCheckRunning());
  EXPECT_EQ(ClearCheckStage(), 4);
  ASSERT_TRUE(WaitForCheck(ClearCheckBudgetSeconds + 10));
  EXPECT_EQ(Play.PlayerX, 12345);  // the search ran on the child's copy
  int frame = 0;
  ASSERT_EQ(StageProof(4, &frame), ProofFound);
  EXPECT_GT(frame, 0);
  std::vector<uint8_t> frames = StageProofFrames(4);
  Playback p = PlayFrames(cells, SearchFramesToReplay(frames));
  EXPECT_TRUE(p.Cleared);
  EXPECT_EQ(p.ClearFrame, frame);
  // Editing drops the proof; the proof holds again for the very cells it was found on.
  EditorStageSet.Maps[4 * CustomCells + 5 * CustomRows + 5] = 3;
  EXPECT_EQ(StageProof(4), ProofNone);
  EXPECT_TRUE(StageProofFrames(4).empty());
  EditorStageSet.Maps[4 * CustomCells + 5 * CustomRows + 5] = 0;
  EXPECT_EQ(StageProof(4), ProofFound);
  std::memset(EditorStageSet.Maps + 4 * CustomCells, 0, CustomCells);
}

TEST_F(ClearCheck, TheEditorsCheckIsCancelledAtOnceAndWhenItsStageIsEdited) {
  std::vector<uint8_t> cells = EditorStageFromSource("walled");
  std::memcpy(EditorStageSet.Maps + 5 * CustomCells, cells.data(), CustomCells);
  StartClearCheck(5);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  UpdateClearCheck();
  EXPECT_TRUE(ClearCheckRunning());
  CancelClearCheck();
  EXPECT_FALSE(ClearCheckRunning());
  EXPECT_FALSE(ChildTaskRunning());
  EXPECT_EQ(StageProof(5), ProofNone);

  StartClearCheck(5);
  EditorStageSet.Maps[5 * CustomCells + 3 * CustomRows + 3] = 3;
  UpdateClearCheck();
  EXPECT_FALSE(ClearCheckRunning());
  EXPECT_FALSE(ChildTaskRunning());
  std::memset(EditorStageSet.Maps + 5 * CustomCells, 0, CustomCells);
}

}  // namespace

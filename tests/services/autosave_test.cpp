#include "services/autosave.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "base/paths.h"
#include "engine/drawing_run.h"
#include "support/app_test_support.h"
#include "support/engine_test_support.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

void SetUpScene(ProgramState& state, int steps) {
  state.params.ImageWidth = 120;
  state.params.ImageHeight = 90;
  state.params.Steps = steps;
  state.params.PercentToComplete = 100;
  state.params.FunctionNumber = 7;
  state.params.StartRadius = 50;
  state.params.EndRadius = 150;
  state.random = SeededRandom(5);
  state.canvas.SetImageDimensions(state.params);
  state.canvas.MakePictureBlack(state.params, state.background);
}

bool SameBytes(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

class Autosave : public ::testing::Test {
 protected:
  test::ScratchFolder scratch{"quorl-autosave-test"};
  const std::string folder = (scratch.Path() / "state").string();
  testing::TestHost host;
};

TEST_F(Autosave, ARunKilledMidDrawIsRecoveredToTheGridsOfItsLastAutosave) {
  bool unclean = true;
  std::string error;
  ASSERT_TRUE(StartSession(folder, unclean, error)) << error;
  EXPECT_FALSE(unclean);
  EndSession(folder);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The drawing program: autosaves every step it can, never ends.
    bool ignored = false;
    std::string e;
    StartSession(folder, ignored, e);
    auto state = std::make_unique<ProgramState>();
    SetUpScene(*state, 2000000);
    testing::TestHost childHost;
    DrawingRun run(*state, childHost);
    AutosaveSettings settings{folder, std::chrono::milliseconds(0), 1ULL << 30};
    Autosaver autosaver(settings);
    run.StartDrawing();
    run.Begin();
    while (run.RunStep()) autosaver.Offer(*state, run.Position(), false);
    ::_exit(0);
  }
  // Kill it once a few autosaves are on the disk, in the middle of drawing.
  const std::string path = Autosaver::PathIn(folder);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (!fs::exists(path) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_TRUE(fs::exists(path)) << "no autosave within two minutes";

  // The next start.
  ASSERT_TRUE(StartSession(folder, unclean, error)) << error;
  EXPECT_TRUE(unclean);
  RunSnapshot snapshot;
  ASSERT_TRUE(ReadAutosave(folder, snapshot, error)) << error;
  const long long reached = snapshot.position.step;
  ASSERT_GT(reached, 0);
  auto recovered = std::make_unique<ProgramState>();
  ASSERT_TRUE(ApplyRunSnapshot(std::move(snapshot), *recovered, error)) << error;

  // The same run drawn again up to that step, uninterrupted.
  auto expected = std::make_unique<ProgramState>();
  SetUpScene(*expected, 2000000);
  DrawingRun run(*expected, host);
  run.StartDrawing();
  run.Begin();
  while (run.CurrentStep() < reached && run.RunStep()) {
  }
  const CanvasGrids want = expected->canvas.CopyGrids(), got = recovered->canvas.CopyGrids();
  EXPECT_TRUE(SameBytes(got.pixels, want.pixels)) << "after step " << reached;
  EXPECT_TRUE(SameBytes(got.normal, want.normal));
  EXPECT_EQ(got.firstStep, want.firstStep);
  EXPECT_EQ(recovered->params, expected->params);
  EndSession(folder);
  ASSERT_TRUE(StartSession(folder, unclean, error));
  EXPECT_FALSE(unclean) << "a clean exit is not reported as a crash";
  EndSession(folder);
}

TEST_F(Autosave, AtMostOncePerIntervalAlwaysAtTheEndAndNeverBeyondTheLimit) {
  auto state = std::make_unique<ProgramState>();
  SetUpScene(*state, 40);
  AutosaveSettings settings{folder, std::chrono::hours(1), 1ULL << 30};
  Autosaver autosaver(settings);
  EXPECT_EQ(autosaver.Offer(*state, RunPosition{}, false), AutosaveOffer::kQueued);
  autosaver.Wait();
  EXPECT_EQ(autosaver.Offer(*state, RunPosition{}, false), AutosaveOffer::kNotDue);
  EXPECT_EQ(autosaver.Offer(*state, RunPosition{}, true), AutosaveOffer::kQueued);
  autosaver.Wait();
  EXPECT_EQ(autosaver.Written(), 2);
  EXPECT_EQ(autosaver.LastError(), "");

  // One byte under the grids of this canvas: refused, and the file on disk
  // stays the last one written.
  const std::string before = test::ReadFile(autosaver.Path());
  AutosaveSettings small{folder, std::chrono::milliseconds(0), GridBytesFor(120, 90) - 1};
  Autosaver limited(small);
  EXPECT_EQ(limited.Offer(*state, RunPosition{}, true), AutosaveOffer::kTooLarge);
  EXPECT_EQ(test::ReadFile(autosaver.Path()), before);
}

TEST_F(Autosave, ADeferredOfferKeepsTheGridsAsTheJobFindsThemAndTheRestAsOffered) {
  auto state = std::make_unique<ProgramState>();
  SetUpScene(*state, 40);
  Autosaver autosaver(AutosaveSettings{folder, std::chrono::hours(1), 1ULL << 30});
  DrawingRun run(*state, host);
  run.StartDrawing();
  run.Begin();
  for (int i = 0; i < 10; ++i) run.RunStep();
  AutosaveOffer offer = AutosaveOffer::kNotDue;
  std::function<void()> copy = autosaver.OfferDeferred(*state, run.Position(), offer);
  ASSERT_EQ(offer, AutosaveOffer::kQueued);
  ASSERT_TRUE(copy);
  // Taken with the offer: the step counter; with the job: the grids, here
  // after a later step and an edit to the parameters.
  const long long offeredStep = run.Position().step;
  const double offeredWidth = state->params.StartEllipseWidth;
  run.RunStep();
  state->params.StartEllipseWidth = offeredWidth + 7;
  const CanvasGrids grids = state->canvas.CopyGrids();
  copy();
  autosaver.Wait();
  ASSERT_EQ(autosaver.Written(), 1) << autosaver.LastError();
  RunSnapshot snapshot;
  std::string error;
  ASSERT_TRUE(ReadAutosave(folder, snapshot, error)) << error;
  EXPECT_EQ(snapshot.position.step, offeredStep);
  EXPECT_EQ(snapshot.params.StartEllipseWidth, offeredWidth);
  EXPECT_TRUE(SameBytes(snapshot.grids.pixels, grids.pixels));
  EXPECT_EQ(snapshot.grids.firstStep, grids.firstStep);
  // Not due again within the interval: no job.
  EXPECT_FALSE(autosaver.OfferDeferred(*state, run.Position(), offer));
  EXPECT_EQ(offer, AutosaveOffer::kNotDue);
}

// The memory of one copy is reused for the next, and room is made ahead for
// a canvas size: whatever size the room has, each autosave holds exactly the
// canvas as it was offered, never a trace of an earlier copy.
TEST_F(Autosave, KeptRoomNeverCarriesAnEarlierCopyOrSize) {
  auto state = std::make_unique<ProgramState>();
  SetUpScene(*state, 40);
  Autosaver autosaver(AutosaveSettings{folder, std::chrono::milliseconds(0), 1ULL << 30});
  DrawingRun run(*state, host);
  run.StartDrawing();
  run.Begin();
  const auto saved_grids = [&] {
    autosaver.Wait();
    RunSnapshot snapshot;
    std::string error;
    EXPECT_TRUE(ReadAutosave(folder, snapshot, error)) << error;
    return snapshot.grids;
  };
  const auto expect_saved = [&](const char* when) {
    const CanvasGrids now = state->canvas.CopyGrids();
    const CanvasGrids saved = saved_grids();
    EXPECT_EQ(saved.width, now.width) << when;
    EXPECT_EQ(saved.height, now.height) << when;
    EXPECT_TRUE(SameBytes(saved.pixels, now.pixels)) << when;
    EXPECT_TRUE(SameBytes(saved.background, now.background)) << when;
    EXPECT_EQ(saved.firstStep, now.firstStep) << when;
  };
  // A few more steps, then the copy at a run's end.
  const auto draw_and_offer = [&](const char* when) {
    for (int i = 0; i < 8; ++i) run.RunStep();
    ASSERT_EQ(autosaver.Offer(*state, run.Position(), true), AutosaveOffer::kQueued) << when;
    expect_saved(when);
  };
  const auto resize = [&](int width, int height) {
    state->params.ImageWidth = width;
    state->params.ImageHeight = height;
    run.Begin();
  };
  draw_and_offer("first copy");
  draw_and_offer("second copy, in the first one's memory");
  // Room for the canvas's size made ahead, then a deferred copy.
  autosaver.PrepareRoom(120, 90);
  for (int i = 0; i < 8; ++i) run.RunStep();
  AutosaveOffer offer = AutosaveOffer::kNotDue;
  std::function<void()> copy = autosaver.OfferDeferred(*state, run.Position(), offer);
  ASSERT_TRUE(copy);
  copy();
  expect_saved("deferred copy into room made ahead");
  // Room made for another size than the canvas then has.
  autosaver.PrepareRoom(50, 300);
  resize(64, 48);
  draw_and_offer("a smaller canvas than the room");
  autosaver.PrepareRoom(10, 10);
  resize(130, 95);
  draw_and_offer("a larger canvas than the room");
  EXPECT_EQ(autosaver.Written(), 5) << autosaver.LastError();
}

}  // namespace
}  // namespace quorl

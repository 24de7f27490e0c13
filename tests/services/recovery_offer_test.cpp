#include "services/recovery_offer.h"

#include <gtest/gtest.h>

#include "base/atomic_file.h"
#include "base/paths.h"
#include "services/autosave.h"
#include "support/app_test_support.h"
#include "support/engine_test_support.h"

namespace quorl {
namespace {

class RecoveryOffer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(MakeFolders(folder)); }

  // An autosave of a small drawn canvas.
  void WriteAutosave(int seed) {
    ProgramState state;
    state.params.ImageWidth = 40;
    state.params.ImageHeight = 30;
    state.params.Steps = 20;
    state.random = SeededRandom(static_cast<std::uint64_t>(seed));
    ASSERT_TRUE(state.canvas.SetImageDimensions(state.params));
    state.canvas.MakePictureBlack(state.params, state.background);
    testing::TestHost host;
    DrawingRun run(state, host);
    run.DrawAllSteps();
    std::string error;
    ASSERT_TRUE(
        WriteRunStateFile(Autosaver::PathIn(folder), kAutosaveKind, TakeRunSnapshot(state, {}), error))
        << error;
    pixels = state.canvas.Bitmap().Bytes();
  }

  test::ScratchFolder scratch{"quorl-recovery-test"};
  const std::string folder = (scratch.Path() / "state").string();
  std::vector<std::uint8_t> pixels;
};

TEST_F(RecoveryOffer, NothingIsOfferedAfterACleanExitOrWithoutAnAutosave) {
  EXPECT_EQ(RecoveryToOffer(folder, true), "");
  WriteAutosave(3);
  EXPECT_EQ(RecoveryToOffer(folder, false), "");
  EXPECT_EQ(RecoveryToOffer(folder, true), Autosaver::PathIn(folder));
}

TEST_F(RecoveryOffer, LaterKeepsItAsideUntilRestoredAndNewAutosavesCannotOverwriteIt) {
  WriteAutosave(3);
  const std::vector<std::uint8_t> first = pixels;
  RunSnapshot snapshot;
  std::string error;
  std::string offered = RecoveryToOffer(folder, true);
  ASSERT_TRUE(AnswerRecovery(folder, offered, RecoveryChoice::kLater, snapshot, error)) << error;
  EXPECT_FALSE(FileExists(Autosaver::PathIn(folder)));
  // The new session autosaves another canvas, then exits cleanly.
  WriteAutosave(4);
  offered = RecoveryToOffer(folder, false);
  EXPECT_EQ(offered, KeptRecoveryPath(folder));
  // Asked again and again later: it stays.
  ASSERT_TRUE(AnswerRecovery(folder, offered, RecoveryChoice::kLater, snapshot, error)) << error;
  ASSERT_TRUE(AnswerRecovery(folder, offered, RecoveryChoice::kRestore, snapshot, error)) << error;
  ProgramState state;
  ASSERT_TRUE(ApplyRunSnapshot(std::move(snapshot), state, error)) << error;
  state.canvas.DrawGridsOnPicture(state.params);
  EXPECT_EQ(state.canvas.Bitmap().Bytes(), first);
  EXPECT_FALSE(FileExists(KeptRecoveryPath(folder)));
  EXPECT_TRUE(FileExists(Autosaver::PathIn(folder)));  // the new session's own
  EXPECT_EQ(RecoveryToOffer(folder, false), "");
}

TEST_F(RecoveryOffer, DiscardRemovesAndADamagedFileIsRefusedAndKept) {
  WriteAutosave(3);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(Autosaver::PathIn(folder), bytes));
  ASSERT_TRUE(WriteFileAtomically(Autosaver::PathIn(folder), bytes.substr(0, bytes.size() / 2), nullptr));
  RunSnapshot snapshot;
  std::string error;
  const std::string offered = RecoveryToOffer(folder, true);
  EXPECT_FALSE(AnswerRecovery(folder, offered, RecoveryChoice::kRestore, snapshot, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(FileExists(offered));
  ASSERT_TRUE(AnswerRecovery(folder, offered, RecoveryChoice::kDiscard, snapshot, error)) << error;
  EXPECT_FALSE(FileExists(offered));
  EXPECT_EQ(RecoveryToOffer(folder, true), "");
}

}  // namespace
}  // namespace quorl

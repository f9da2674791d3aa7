// The entry function: window creation, start-up failures and the exit code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "platform/virtual_keys.h"
#include "support/app_fixture.h"

namespace vellumor {

namespace {

using platform::EventKind;

class ProgramRunTest : public ProgramTest {};

TEST_F(ProgramRunTest, CreationSetsUpContextFontViewBindingsAndClock) {
  fake::state.tick = 777;
  fake::state.script = {{.kind = EventKind::KeyDown, .key = vk::Escape}};
  fake::state.idleFrames = 3;  // never reached: Escape quits first

  EXPECT_EQ(RunProgram(), 0);
  const std::vector<std::string> log = fake::TakeLog();
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(log[0], "CreateMainWindow vellumor Vellumor 100 100 256 256");
  EXPECT_EQ(log[1], "CreateRenderingContext");
  EXPECT_EQ(log[2], "CreateFontLists 96");
  EXPECT_EQ(shell.textOverlay.fontListBase, 1000u);
  EXPECT_EQ(mainView.mode, ViewMode::Perspective);
  EXPECT_EQ(actionRegistry.bindings.size(), 5u);
  EXPECT_EQ(shell.frameClock.startTick, 777u);
  EXPECT_EQ(shell.frameClock.frameCount, 0);
  EXPECT_EQ(shell.clientArea.clientWidth, 240);  // the first Size and Move follow creation
  EXPECT_EQ(shell.clientArea.clientY, 131);
}

TEST_F(ProgramRunTest, FramesRunUntilTheWindowCloses) {
  fake::state.idleFrames = 4;
  EXPECT_EQ(RunProgram(), -1);  // the fake's loop ran out without a quit
  EXPECT_EQ(shell.frameClock.frameCount, 4);
}

TEST_F(ProgramRunTest, AStartUpFailureIsOneLineOnStderrAndANonZeroExit) {
  for (bool failFont : {false, true}) {
    ResetProgramState();
    fake::state.failGlContext = !failFont;
    fake::state.failFont = failFont;
    ::testing::internal::CaptureStderr();
    EXPECT_NE(RunProgram(), 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, std::string("vellumor: ") + (failFont ? "no font" : "no OpenGL context") + "\n");
    EXPECT_TRUE(actionRegistry.bindings.empty());
  }
}

}  // namespace

}  // namespace vellumor

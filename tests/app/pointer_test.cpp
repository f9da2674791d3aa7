// The pointer state machine: drag, look mode, activation and lost capture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/look_and_zoom.h"
#include "support/app_fixture.h"

namespace vellumor {

namespace {

using platform::CursorShape;
using platform::EventKind;
using Log = std::vector<std::string>;

class PointerTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenWindow(240, 217, 108, 131);
    fake::state.windowRect = {100, 100, 357, 355};
  }
};

TEST_F(PointerTest, DragConfinesCapturesAndShowsTheFourHeadedArrow) {
  Send(EventKind::LeftButtonDown, 30, 40);
  EXPECT_EQ(fake::TakeLog(), (Log{"ConfineCursor 108 131 348 348", "CaptureMouse", "SetCursorShape SizeAll"}));
  EXPECT_EQ(pointer.mouseMode, MouseMode::Drag);
  EXPECT_TRUE(pointer.pointerCaptured);

  Send(EventKind::LeftButtonUp, 50, 60);
  EXPECT_EQ(fake::TakeLog(), (Log{"ReleaseMouse", "FreeCursor", "SetCursorShape Arrow"}));
  EXPECT_EQ(pointer.mouseMode, MouseMode::None);
  EXPECT_FALSE(pointer.pointerCaptured);
  EXPECT_EQ(fake::state.shape, CursorShape::Arrow);
}

TEST_F(PointerTest, DragPansFromWhereItBeganByTheTotalOffset) {
  mainView.mode = ViewMode::Top;
  mainView.camera = &terrainScene.orthoCamera;
  mainView.unitsPerPixelX = mainView.unitsPerPixelY = 2.0;
  terrainScene.orthoCamera.position = {100, 50, 200};
  Send(EventKind::LeftButtonDown, 30, 40);
  Send(EventKind::MouseMove, 35, 40);
  Send(EventKind::MouseMove, 40, 44);
  EXPECT_EQ(terrainScene.orthoCamera.position.x, 80.0);
  EXPECT_EQ(terrainScene.orthoCamera.position.z, 208.0);
}

TEST_F(PointerTest, LosingTheCaptureEndsADragLikeTheButtonGoingUp) {
  Send(EventKind::LeftButtonDown, 1, 1);
  fake::TakeLog();
  fake::state.captured = false;
  Send(EventKind::CaptureLost);
  EXPECT_EQ(fake::TakeLog(), (Log{"FreeCursor", "SetCursorShape Arrow"}));
  EXPECT_EQ(pointer.mouseMode, MouseMode::None);

  Send(EventKind::CaptureLost);  // no longer captured: nothing more happens
  EXPECT_TRUE(fake::TakeLog().empty());
}

TEST_F(PointerTest, TheLeftButtonDoesNothingDuringADragOrInLookMode) {
  Send(EventKind::LeftButtonDown, 1, 1);
  fake::TakeLog();
  Send(EventKind::LeftButtonDown, 5, 5);
  EXPECT_TRUE(fake::TakeLog().empty());
  EXPECT_EQ(pointer.dragStartX, 1);

  ResetProgramState();
  OpenWindow();
  Key(vk::F1);
  fake::TakeLog();
  Send(EventKind::LeftButtonDown, 5, 5);
  Send(EventKind::LeftButtonUp, 5, 5);
  EXPECT_TRUE(fake::TakeLog().empty());
  EXPECT_EQ(pointer.mouseMode, MouseMode::Look);
}

TEST_F(PointerTest, F1GrabsThePointerOnceAndCentresItOnTheWindow) {
  Key(vk::F1);
  EXPECT_EQ(fake::TakeLog(), (Log{"GetWindowRect", "ConfineCursor 100 100 357 355", "WarpCursor 228 227",
                                  "SetCursorShape Hidden", "CaptureMouse"}));
  EXPECT_EQ(pointer.mouseMode, MouseMode::Look);
  EXPECT_TRUE(pointer.pointerCaptured);

  mainView.mode = ViewMode::Top;
  Key(vk::F1);  // a second F1 sets the view again but leaves the pointer alone
  EXPECT_TRUE(fake::TakeLog().empty());
  EXPECT_EQ(mainView.mode, ViewMode::Perspective);
}

TEST_F(PointerTest, LookModeTurnsByTheOffsetFromTheCentreInScreenCoordinates) {
  clientArea.clientX = -50;  // a window partly off the left edge of the screen
  Key(vk::F1);
  fake::TakeLog();
  // Client (278, 96) is screen (228, 227), the centre: the move caused by re-centring.
  Send(EventKind::MouseMove, 278, 96);
  EXPECT_TRUE(fake::TakeLog().empty());
  EXPECT_EQ(terrainScene.lookYaw, 0.0);

  Send(EventKind::MouseMove, 283, 94);
  EXPECT_EQ(fake::TakeLog(), (Log{"WarpCursor 228 227"}));
  EXPECT_EQ(terrainScene.lookYaw, 5 * kLookStep);
  EXPECT_EQ(terrainScene.lookPitch, -2 * kLookStep);
}

TEST_F(PointerTest, SwitchingAwayFreesTheCursorAndSwitchingBackGrabsItAgain) {
  Key(vk::F1);
  fake::TakeLog();
  Activate(false);
  EXPECT_EQ(fake::TakeLog(), (Log{"FreeCursor", "SetCursorShape Arrow"}));
  EXPECT_TRUE(pointer.pointerCaptured);  // the capture is not released here

  fake::state.captured = false;  // the system takes it away
  Send(EventKind::CaptureLost);
  EXPECT_FALSE(pointer.pointerCaptured);
  EXPECT_EQ(pointer.mouseMode, MouseMode::Look);
  fake::TakeLog();
  Send(EventKind::MouseMove, 0, 0);  // ignored while not captured
  EXPECT_EQ(terrainScene.lookYaw, 0.0);
  EXPECT_EQ(fake::TakeLog(), Log{});

  fake::state.windowRect = {300, 200, 500, 400};  // the window moved meanwhile
  Activate(true);
  EXPECT_EQ(fake::TakeLog(), (Log{"GetWindowRect", "ConfineCursor 300 200 500 400", "WarpCursor 400 300",
                                  "SetCursorShape Hidden", "CaptureMouse"}));
  EXPECT_EQ(fake::state.shape, CursorShape::Hidden);
}

TEST_F(PointerTest, F1TakesThePointerBackAfterLookModeLostIt) {
  Key(vk::F1);
  fake::state.captured = false;
  Send(EventKind::CaptureLost);
  fake::TakeLog();
  Key(vk::F1);
  EXPECT_EQ(fake::TakeLog(), (Log{"GetWindowRect", "ConfineCursor 100 100 357 355", "WarpCursor 228 227",
                                  "SetCursorShape Hidden", "CaptureMouse"}));
  EXPECT_TRUE(pointer.pointerCaptured);
  Send(EventKind::MouseMove, 0, 0);
  EXPECT_NE(terrainScene.lookYaw, 0.0);
}

TEST_F(PointerTest, ActivationOutsideLookModeDoesNothing) {
  Activate(true);
  EXPECT_TRUE(fake::TakeLog().empty());
}

TEST_F(PointerTest, LeavingLookModeFreesThePointerThroughTheNestedCaptureLoss) {
  Key(vk::F1);
  fake::TakeLog();
  Key(vk::F2);
  EXPECT_EQ(fake::TakeLog(), (Log{"ReleaseMouse", "FreeCursor", "SetCursorShape Arrow"}));
  EXPECT_EQ(pointer.mouseMode, MouseMode::None);
  EXPECT_FALSE(pointer.pointerCaptured);
  EXPECT_EQ(mainView.mode, ViewMode::Front);
  EXPECT_EQ(mainView.camera, &terrainScene.orthoCamera);
  EXPECT_EQ(fake::state.shape, CursorShape::Arrow);
  EXPECT_FALSE(fake::state.confined);
}

TEST_F(PointerTest, F1DuringADragKeepsTheCaptureAndStopsPanning) {
  mainView.mode = ViewMode::Top;
  mainView.camera = &terrainScene.orthoCamera;
  Send(EventKind::LeftButtonDown, 10, 10);
  Key(vk::F1);
  EXPECT_EQ(pointer.mouseMode, MouseMode::Look);
  EXPECT_TRUE(fake::state.captured);
  const Vec3 before = terrainScene.orthoCamera.position;
  Send(EventKind::LeftButtonUp, 90, 90);  // not a drag any more: no release
  EXPECT_TRUE(fake::state.captured);
  EXPECT_EQ(terrainScene.orthoCamera.position.x, before.x);
}

TEST_F(PointerTest, WheelStepsOncePer120GatheredAndDropsTheRest) {
  struct Case {
    std::vector<std::int32_t> deltas;
    double radius;
  };
  const Case cases[] = {
      {{120}, 1500.0 * 1.2},   {{60, 60}, 1500.0 * 1.2}, {{240}, 1500.0 * 1.2},
      {{150, 100}, 1500.0 * 1.2},  // 30 left over is dropped, so 100 gives nothing
      {{60, -60}, 1500.0},     {{-120}, 1500.0 / 1.2},
  };
  for (const Case& c : cases) {
    ResetProgramState();
    for (std::int32_t delta : c.deltas) Wheel(delta);
    EXPECT_EQ(terrainScene.orthoCamera.radius, c.radius) << c.deltas.front();
  }
}

TEST_F(PointerTest, HugeCoordinatesAndDeltasDoNotOverflow) {
  Wheel(2147483647);
  Wheel(2147483647);
  EXPECT_EQ(pointer.wheelAccumulator, 0);
  Key(vk::F1);
  Send(EventKind::MouseMove, 2147483647, -2147483647 - 1);
  EXPECT_GT(terrainScene.lookYaw, 0.0);
  EXPECT_LT(terrainScene.lookPitch, 0.0);
}

}  // namespace

}  // namespace vellumor

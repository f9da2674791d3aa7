// The pointer state machine: drag, look mode, activation and lost capture.
#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/look_and_zoom.h"
#include "support/app_fixture.h"

namespace vellumor {

namespace {

using platform::CursorShape;
using platform::EventKind;
using Log = std::vector<std::string>;

using Rect = std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t>;
Rect Of(const platform::ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }

class PointerTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenWindow(240, 217, 108, 131);
    fake::state.windowRect = {100, 100, 357, 355};
  }
  // What the platform shows: the pointer free, held for a drag, or held for look mode.
  static void ExpectFree() {
    EXPECT_FALSE(fake::state.captured);
    EXPECT_FALSE(shell.pointer.pointerCaptured);
    EXPECT_FALSE(fake::state.confined);
    EXPECT_EQ(fake::state.shape, CursorShape::Arrow);
  }
  static void ExpectDragging(const Rect& area) {
    EXPECT_EQ(shell.pointer.mouseMode, MouseMode::Drag);
    EXPECT_TRUE(fake::state.captured && shell.pointer.pointerCaptured);
    EXPECT_TRUE(fake::state.confined);
    EXPECT_EQ(Of(fake::state.confinement), area);
    EXPECT_EQ(fake::state.shape, CursorShape::SizeAll);
  }
  static void ExpectLooking(const Rect& window, std::int32_t x, std::int32_t y) {
    EXPECT_EQ(shell.pointer.mouseMode, MouseMode::Look);
    EXPECT_TRUE(fake::state.captured && shell.pointer.pointerCaptured);
    EXPECT_TRUE(fake::state.confined);
    EXPECT_EQ(Of(fake::state.confinement), window);
    EXPECT_EQ(std::pair(fake::state.cursorX, fake::state.cursorY), std::pair(x, y));
    EXPECT_EQ(fake::state.shape, CursorShape::Hidden);
  }
};

TEST_F(PointerTest, DragConfinesCapturesAndShowsTheFourHeadedArrow) {
  Send(EventKind::LeftButtonDown, 30, 40);
  ExpectDragging({108, 131, 348, 348});  // the client area on screen

  Send(EventKind::LeftButtonUp, 50, 60);
  EXPECT_EQ(shell.pointer.mouseMode, MouseMode::None);
  ExpectFree();
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
  EXPECT_EQ(shell.pointer.mouseMode, MouseMode::None);
  ExpectFree();
  fake::TakeLog();

  Send(EventKind::CaptureLost);  // no longer captured: nothing more happens
  EXPECT_TRUE(fake::TakeLog().empty());
}

TEST_F(PointerTest, TheLeftButtonDoesNothingDuringADragOrInLookMode) {
  Send(EventKind::LeftButtonDown, 1, 1);
  fake::TakeLog();
  Send(EventKind::LeftButtonDown, 5, 5);
  EXPECT_TRUE(fake::TakeLog().empty());
  EXPECT_EQ(shell.pointer.dragStartX, 1);

  ResetProgramState();
  OpenWindow();
  Key(vk::F1);
  fake::TakeLog();
  Send(EventKind::LeftButtonDown, 5, 5);
  Send(EventKind::LeftButtonUp, 5, 5);
  EXPECT_TRUE(fake::TakeLog().empty());
  EXPECT_EQ(shell.pointer.mouseMode, MouseMode::Look);
}

TEST_F(PointerTest, F1GrabsThePointerOnceAndCentresItOnTheWindow) {
  Key(vk::F1);
  ExpectLooking({100, 100, 357, 355}, 228, 227);
  fake::TakeLog();

  mainView.mode = ViewMode::Top;
  Key(vk::F1);  // a second F1 sets the view again but leaves the pointer alone
  EXPECT_TRUE(fake::TakeLog().empty());
  EXPECT_EQ(mainView.mode, ViewMode::Perspective);
}

TEST_F(PointerTest, LookModeTurnsByTheOffsetFromTheCentreInScreenCoordinates) {
  shell.clientArea.clientX = -50;  // a window partly off the left edge of the screen
  Key(vk::F1);
  fake::TakeLog();
  // Client (278, 96) is screen (228, 227), the centre: the move caused by re-centring.
  Send(EventKind::MouseMove, 278, 96);
  EXPECT_TRUE(fake::TakeLog().empty());
  EXPECT_EQ(terrainScene.lookYaw, 0.0);

  fake::state.cursorX = 233;  // where the move took it
  fake::state.cursorY = 225;
  Send(EventKind::MouseMove, 283, 94);
  EXPECT_EQ(std::pair(fake::state.cursorX, fake::state.cursorY), std::pair(228, 227));  // put back
  EXPECT_EQ(terrainScene.lookYaw, 5 * kLookStep);
  EXPECT_EQ(terrainScene.lookPitch, -2 * kLookStep);
  EXPECT_NEAR(terrainScene.lookYaw * 180.0 / std::numbers::pi, 1.0, 1e-12);  // 0.2 degrees a pixel
}

TEST_F(PointerTest, LookModeFollowsTheWindowThroughMinimiseRestoreAndMoves) {
  Key(vk::F1);
  Activate(false);
  Send(EventKind::Size, 0, 0);  // minimised: the window lies far off screen
  fake::state.windowRect = {-32000, -32000, -31840, -31972};
  fake::TakeLog();
  Activate(true);  // Windows activates before it restores
  EXPECT_EQ(fake::TakeLog(), Log{});
  EXPECT_FALSE(fake::state.captured);

  fake::state.windowRect = {100, 100, 357, 355};
  Send(EventKind::Size, 240, 217);  // restored: grabbed at last
  ExpectLooking({100, 100, 357, 355}, 228, 227);

  fake::state.windowRect = {300, 200, 557, 455};  // moved by the keyboard or snapped
  Send(EventKind::Move, 308, 231);
  ExpectLooking({300, 200, 557, 455}, 428, 327);
  Send(EventKind::MouseMove, 123, 96);  // screen (431, 327): 3 right of the new centre
  EXPECT_EQ(terrainScene.lookYaw, 3 * kLookStep);
}

TEST_F(PointerTest, SwitchingAwayFreesTheCursorAndSwitchingBackGrabsItAgain) {
  Key(vk::F1);
  fake::TakeLog();
  Activate(false);
  EXPECT_FALSE(fake::state.confined);
  EXPECT_EQ(fake::state.shape, CursorShape::Arrow);
  // Given up by the shell itself, so the other application's pointer is never warped.
  EXPECT_FALSE(fake::state.captured || shell.pointer.pointerCaptured);
  EXPECT_EQ(shell.pointer.mouseMode, MouseMode::Look);
  fake::TakeLog();
  Send(EventKind::MouseMove, 0, 0);  // ignored while not captured
  EXPECT_EQ(terrainScene.lookYaw, 0.0);
  EXPECT_EQ(fake::TakeLog(), Log{});

  fake::state.windowRect = {300, 200, 500, 400};  // the window moved meanwhile
  Activate(true);
  ExpectLooking({300, 200, 500, 400}, 400, 300);
}

TEST_F(PointerTest, F1TakesThePointerBackAfterLookModeLostIt) {
  Key(vk::F1);
  fake::state.captured = false;
  Send(EventKind::CaptureLost);
  Key(vk::F1);
  ExpectLooking({100, 100, 357, 355}, 228, 227);
  Send(EventKind::MouseMove, 0, 0);
  EXPECT_NE(terrainScene.lookYaw, 0.0);
}

TEST_F(PointerTest, ActivationOutsideLookModeDoesNothing) {
  Activate(true);
  EXPECT_TRUE(fake::TakeLog().empty());
}

TEST_F(PointerTest, LeavingLookModeFreesThePointerThroughTheNestedCaptureLoss) {
  Key(vk::F1);
  Key(vk::F2);
  EXPECT_EQ(shell.pointer.mouseMode, MouseMode::None);
  ExpectFree();
  EXPECT_EQ(mainView.mode, ViewMode::Front);
  EXPECT_EQ(mainView.camera, &terrainScene.orthoCamera);
}

TEST_F(PointerTest, F1DuringADragKeepsTheCaptureAndStopsPanning) {
  mainView.mode = ViewMode::Top;
  mainView.camera = &terrainScene.orthoCamera;
  Send(EventKind::LeftButtonDown, 10, 10);
  Key(vk::F1);
  EXPECT_EQ(shell.pointer.mouseMode, MouseMode::Look);
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
  EXPECT_EQ(shell.pointer.wheelAccumulator, 0);
  Key(vk::F1);
  Send(EventKind::MouseMove, 2147483647, -2147483647 - 1);
  EXPECT_GT(terrainScene.lookYaw, 0.0);
  EXPECT_LT(terrainScene.lookPitch, 0.0);
}

}  // namespace

}  // namespace vellumor

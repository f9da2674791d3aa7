// Switching to another application while the shell holds the pointer: in look
// mode and during a drag, the cursor comes back and the view stops moving;
// keys held meanwhile stop acting, as if they had been released.
#include <gtest/gtest.h>

#include "app/look_and_zoom.h"
#include "support/app_fixture.h"
#include "support/vec3_checks.h"

namespace vellumor {

namespace {

using platform::CursorShape;
using platform::EventKind;

class FocusTest : public ProgramTest {
 protected:
  // A window at (100, 100) on screen, its client area at (108, 131).
  static void Open() {
    ResetProgramState();
    OpenWindow(240, 217, 108, 131);
    fake::state.windowRect = {100, 100, 357, 355};
  }
  // The cursor is the arrow again, free to leave the window, and nothing holds the capture.
  static void ExpectCursorBack() {
    EXPECT_FALSE(fake::state.captured);
    EXPECT_FALSE(shell.pointer.pointerCaptured);
    EXPECT_FALSE(fake::state.confined);
    EXPECT_EQ(fake::state.shape, CursorShape::Arrow);
  }
};

TEST_F(FocusTest, InLookModeTheCursorComesBackAndTheViewStopsTurning) {
  for (const bool captureFirst : {false, true}) {
    SCOPED_TRACE(captureFirst ? "capture lost first" : "deactivated first");
    Open();
    Key(vk::F1);
    Send(EventKind::MouseMove, 130, 100);  // 10 right of and 4 below the centre (228, 227)
    ASSERT_EQ(terrainScene.lookYaw, 10 * kLookStep);

    fake::LoseFocus(captureFirst);
    ExpectCursorBack();
    EXPECT_EQ(shell.pointer.mouseMode, MouseMode::Look);

    // Moving over other windows turns nothing and leaves the cursor where it goes.
    const double yaw = terrainScene.lookYaw, pitch = terrainScene.lookPitch;
    fake::state.cursorX = 700;
    fake::state.cursorY = 20;
    Send(EventKind::MouseMove, 592, -111);
    Send(EventKind::MouseMove, -50, 400);
    EXPECT_EQ(terrainScene.lookYaw, yaw);
    EXPECT_EQ(terrainScene.lookPitch, pitch);
    EXPECT_EQ(fake::state.cursorX, 700);
    EXPECT_EQ(fake::state.cursorY, 20);

    // Coming back takes the pointer again, and looking goes on without F1.
    Activate(true);
    EXPECT_TRUE(fake::state.captured);
    EXPECT_TRUE(fake::state.confined);
    EXPECT_EQ(fake::state.shape, CursorShape::Hidden);
    EXPECT_EQ(fake::state.cursorX, 228);
    EXPECT_EQ(fake::state.cursorY, 227);
    Send(EventKind::MouseMove, 125, 96);
    EXPECT_EQ(terrainScene.lookYaw, yaw + 5 * kLookStep);
  }
}

TEST_F(FocusTest, DuringADragTheCursorComesBackAndPanningStops) {
  for (const bool captureFirst : {false, true}) {
    SCOPED_TRACE(captureFirst ? "capture lost first" : "deactivated first");
    Open();
    Key(vk::F4);
    mainView.unitsPerPixelX = mainView.unitsPerPixelY = 2.0;
    Camera& camera = terrainScene.orthoCamera;
    camera.position = {100, 50, 200};
    Send(EventKind::LeftButtonDown, 30, 40);
    Send(EventKind::MouseMove, 35, 40);
    ASSERT_EQ(camera.position.x, 90.0);

    fake::LoseFocus(captureFirst);
    ExpectCursorBack();
    EXPECT_EQ(shell.pointer.mouseMode, MouseMode::None);

    // The pointer moving on, and the button going up elsewhere, pan nothing.
    const Vec3 where = camera.position;
    Send(EventKind::MouseMove, 80, 90);
    Send(EventKind::LeftButtonUp, 80, 90);
    EXPECT_EQ(Of(camera.position), Of(where));
    ExpectCursorBack();

    // Back in the window, a new press drags from where the camera is now.
    Activate(true);
    Send(EventKind::LeftButtonDown, 10, 10);
    Send(EventKind::MouseMove, 12, 10);
    EXPECT_EQ(Of(camera.position), Xyz(where.x - 4, where.y, where.z));
    EXPECT_EQ(fake::state.shape, CursorShape::SizeAll);
  }
}

class HeldKeysAcrossFocusTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenWindow();
  }
  static void Frame() {
    fake::state.tick += 16;
    Send(platform::EventKind::Paint);
  }
};

TEST_F(HeldKeysAcrossFocusTest, HeldKeysStopActingWhenTheFocusGoesAndActOnlyWhenPressedAgain) {
  Key(vk::W);
  Key(vk::A);
  Frame();
  const double heading = terrainScene.mover.heading;
  ASSERT_EQ(terrainScene.mover.acceleration, 10.0);  // W acted at the end of the frame

  Activate(false);  // W and A are released in the other application; this window never hears it
  Frame();
  EXPECT_EQ(terrainScene.mover.acceleration, 5.0);  // halved, and nothing added
  Frame();
  EXPECT_EQ(terrainScene.mover.acceleration, 2.5);
  EXPECT_EQ(terrainScene.mover.heading, 0.5 * 0.5 * heading);  // pulled back to the look direction only

  Activate(true);
  Key(vk::W, true);  // still down on return: the key goes on repeating
  Frame();
  EXPECT_EQ(terrainScene.mover.acceleration, 1.25);

  KeyUp(vk::W);
  Key(vk::W);  // pressed again
  Frame();
  EXPECT_EQ(terrainScene.mover.acceleration, 0.5 * 1.25 + 10.0);
}

TEST_F(HeldKeysAcrossFocusTest, GettingTheFocusEndsNothing) {
  Key(vk::S);
  Activate(true);
  Frame();
  EXPECT_EQ(terrainScene.mover.acceleration, -10.0);
}

}  // namespace

}  // namespace vellumor

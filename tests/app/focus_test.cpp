// What the program does when another application takes the focus while keys
// are held: their actions end, as if the keys had been released.

#include <gtest/gtest.h>

#include "support/app_fixture.h"

namespace vellumor {

namespace {

class FocusTest : public ProgramTest {
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

TEST_F(FocusTest, HeldKeysStopActingWhenTheFocusGoesAndActOnlyWhenPressedAgain) {
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

TEST_F(FocusTest, GettingTheFocusEndsNothing) {
  Key(vk::S);
  Activate(true);
  Frame();
  EXPECT_EQ(terrainScene.mover.acceleration, -10.0);
}

}  // namespace

}  // namespace vellumor

// The fixed key table and its edge cases, through the window procedure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "support/app_fixture.h"

namespace vellumor {

namespace {

class ControlsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenWindow();
  }
  void Press(std::int32_t key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      Key(key);
      KeyUp(key);
    }
  }
  Terrain& terrain = terrainScene.terrain;
  Camera& camera = terrainScene.camera;
};

TEST_F(ControlsTest, EachParameterKeyStepsItsParameter) {
  struct Case {
    std::int32_t key;
    double* field;
    double expected;
  };
  const Case cases[] = {
      {vk::Digit0, &terrain.unit, 160.0},          {vk::Digit9, &terrain.unit, 40.0},
      {vk::Digit1, &camera.fov, 64.0},             {vk::Digit2, &camera.fov, 66.0},
      {vk::B, &terrain.freq, 0.0011 + 0.0001},     {vk::V, &terrain.freq, 0.0011 - 0.0001},
      {vk::G, &terrain.amp, 240.0},                {vk::F, &terrain.amp, 220.0},
      {vk::T, &terrain.octaves, 3.0},              {vk::R, &terrain.octaves, 1.0},
      {vk::U, &terrain.h, 0.5 + 0.1},              {vk::Y, &terrain.h, 0.5 - 0.1},
  };
  for (const Case& c : cases) {
    ResetProgramState();
    OpenWindow();
    Press(c.key);
    EXPECT_EQ(*c.field, c.expected) << "key " << c.key;
  }
}

TEST_F(ControlsTest, HoldingAKeyStepsOnlyOnce) {
  Key(vk::T);
  Key(vk::T, true);
  Key(vk::T, true);
  EXPECT_EQ(terrain.octaves, 3.0);
}

TEST_F(ControlsTest, RepeatedStepsGoThroughZeroUnbounded) {
  Press(vk::R, 3);
  EXPECT_EQ(terrain.octaves, -1.0);
  Press(vk::Digit9, 10);
  EXPECT_EQ(terrain.unit, 0.078125);
  Press(vk::Digit1, 65);
  EXPECT_EQ(camera.fov, 0.0);
  Press(vk::V, 11);  // the steps are not exact: a tiny negative value, not zero
  EXPECT_LT(terrain.freq, 0.0);
  EXPECT_GT(terrain.freq, -1e-18);
}

TEST_F(ControlsTest, HeldKeysNeverReachTheKeyTable) {
  Key(vk::W);
  Key(vk::A);
  EXPECT_EQ(actionRegistry.activeActions.size(), 2u);
  EXPECT_EQ(terrain.amp, 230.0);
  KeyUp(vk::W);
  EXPECT_EQ(actionRegistry.activeActions.size(), 1u);
}

TEST_F(ControlsTest, FunctionKeysPairCamerasWithModes) {
  const std::pair<std::int32_t, ViewMode> keys[] = {
      {vk::F2, ViewMode::Front}, {vk::F3, ViewMode::Side}, {vk::F4, ViewMode::Top}};
  for (const auto& [key, mode] : keys) {
    Key(key);
    EXPECT_EQ(mainView.mode, mode);
    EXPECT_EQ(mainView.camera, &terrainScene.orthoCamera);
    EXPECT_EQ(shell.pointer.mouseMode, MouseMode::None);
  }
  Key(vk::F1);
  EXPECT_EQ(mainView.mode, ViewMode::Perspective);
  EXPECT_EQ(mainView.camera, &camera);
}

TEST_F(ControlsTest, TheWheelZoomsTheOrthographicCameraEvenInPerspective) {
  Wheel(120);
  EXPECT_EQ(terrainScene.orthoCamera.radius, 1500.0 * 1.2);
  EXPECT_EQ(camera.radius, 10.0);
  EXPECT_EQ(mainView.mode, ViewMode::Perspective);
}

TEST_F(ControlsTest, EscapeDestroysTheWindowAndQuitsWithZero) {
  Key(vk::Escape);
  EXPECT_EQ(fake::TakeLog(), (std::vector<std::string>{"DestroyWindow", "Quit 0"}));
  EXPECT_TRUE(fake::state.quit);
  EXPECT_EQ(fake::state.exitCode, 0);
}

TEST_F(ControlsTest, UnknownKeysDoNothing) {
  Key(0x41 + 25);  // Z
  Key(vk::F1 + 5);
  EXPECT_EQ(terrain.unit, 80.0);
  EXPECT_EQ(mainView.mode, ViewMode::Perspective);
  EXPECT_TRUE(fake::TakeLog().empty());
}

}  // namespace

}  // namespace vellumor

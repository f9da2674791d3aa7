#include "terrain/mover.h"

#include <gtest/gtest.h>

namespace vellumor {

namespace {

constexpr double kHalfPi = 1.5707963267948966;

TEST(MoverTest, CoversItsSpeedPerFrameAlongHeadingAndPitch) {
  Mover m;
  m.speed = 5;
  m.Step(0.25);
  m.Step(3.0);  // the distance does not depend on the frame step
  EXPECT_EQ(m.position.z, 10.0);
  EXPECT_EQ(m.position.x, 0.0);
  m.speed = -2;  // backwards along the same direction
  m.Step(1.0);
  EXPECT_EQ(m.position.z, 8.0);

  Mover east;
  east.heading = kHalfPi;
  east.speed = 5;
  east.Step(0.1);
  EXPECT_EQ(east.position.x, 5.0);
  EXPECT_NEAR(east.position.z, 0.0, 1e-15);

  Mover down;  // a positive pitch flies downwards, whatever the heading
  down.heading = -2.5;
  down.pitch = kHalfPi;
  down.speed = 5;
  down.Step(0.1);
  EXPECT_EQ(down.position.y, -5.0);
  EXPECT_NEAR(down.position.x, 0.0, 1e-15);
}

TEST(MoverTest, AccelerationChangesTheSpeedForTheNextStep) {
  Mover m;
  m.speed = 2;
  m.acceleration = 10;
  m.Step(0.5);
  EXPECT_EQ(m.position.z, 2.0);
  EXPECT_EQ(m.speed, 7.0);
  m.Step(0.0);
  EXPECT_EQ(m.position.z, 9.0);
  EXPECT_EQ(m.speed, 7.0);
}

}  // namespace

}  // namespace vellumor

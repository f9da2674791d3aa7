#include "terrain/terrain_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <vector>

#include "support/vec3_checks.h"
#include "testing/recording_gl.h"

namespace vellumor {

namespace {

bool SameBox(const BoundingBox& a, const BoundingBox& b) {
  return a.min.x == b.min.x && a.min.y == b.min.y && a.min.z == b.min.z && a.max.x == b.max.x &&
         a.max.y == b.max.y && a.max.z == b.max.z;
}

TEST(TerrainSceneTest, ResetsAtConstructionAndAtTimeZero) {
  TerrainScene scene;
  EXPECT_EQ(scene.camera.radius, 10.0);
  EXPECT_EQ(scene.orthoCamera.radius, 1500.0);
  EXPECT_EQ(scene.orthoCamera.position.z, 1000.0);
  EXPECT_EQ(scene.terrain.unit, 80.0);
  for (double z : {2000.0, 3000.0}) {
    scene.camera.radius = 33;
    scene.Update(0.0, 0.0);
    EXPECT_EQ(scene.camera.radius, 10.0);
    EXPECT_EQ(scene.orthoCamera.position.z, z);
  }
  scene.camera.radius = 33;
  scene.Update(0.016, 0.016);
  EXPECT_EQ(scene.camera.radius, 33.0);
}

TEST(TerrainSceneTest, MoverTurnsByHalvesWhileTheCameraFollowsAtOnce) {
  TerrainScene scene;
  scene.lookYaw = 0.75;
  scene.lookPitch = -0.375;
  scene.mover.speed = 5;
  for (double d : {0.375, 0.1875, 0.09375}) {
    scene.Update(1.0, 0.016);
    EXPECT_EQ(scene.lookYaw - scene.mover.heading, d);
    EXPECT_EQ(scene.mover.pitch - scene.lookPitch, d / 2);
  }
  // The camera takes this frame's step and the look angles themselves.
  Camera expected;
  expected.position = scene.mover.position;
  expected.yaw = 0.75;
  expected.pitch = -0.375;
  expected.UpdateFrustum();
  EXPECT_EQ(scene.camera.position.z, scene.mover.position.z);
  EXPECT_TRUE(SameBox(scene.camera.bounds, expected.bounds));
  EXPECT_TRUE(SameBox(scene.overlay.bounds, expected.bounds));
}

TEST(TerrainSceneTest, HeldKeysGiveDecayingPushes) {
  // The held-key action pushes after each update; with dt 1 the speed sums
  // the accelerations Step saw.
  TerrainScene forward, back;
  double speed = 0;
  for (double a : {10.0, 15.0, 17.5, 18.75}) {
    forward.mover.acceleration += 10;
    back.mover.acceleration -= 10;
    EXPECT_EQ(forward.mover.acceleration, a);
    EXPECT_EQ(back.mover.acceleration, -a);
    forward.Update(1.0, 1.0);
    back.Update(1.0, 1.0);
    EXPECT_EQ(forward.mover.speed, speed += a);
  }
  // The clamp applies to the halved value.
  const double before[] = {300, 199, -19, -30}, after[] = {100, 99.5, -9.5, -10};
  for (int k = 0; k < 4; ++k) {
    forward.mover.acceleration = before[k];
    forward.Update(1.0, 0.0);
    EXPECT_EQ(forward.mover.acceleration, after[k]);
  }
}

TEST(TerrainSceneTest, TheMoverStepsAlongTheHalfTurnedHeadingAndPitch) {
  TerrainScene scene;
  scene.mover.heading = 0.2;
  scene.mover.pitch = -0.1;
  scene.mover.speed = 10;
  scene.lookYaw = 0.8;
  scene.lookPitch = 0.3;
  scene.Update(1.0, 0.016);
  // This frame's step already flies halfway turned: heading 0.5, pitch 0.1.
  const double heading = 0.5, pitch = 0.1;
  ExpectNear(scene.mover.position, 10 * std::sin(heading) * std::cos(pitch), -10 * std::sin(pitch),
             10 * std::cos(heading) * std::cos(pitch), 1e-12);
  EXPECT_EQ(Of(scene.camera.position), Of(scene.mover.position));
}

TEST(TerrainSceneTest, RendersTerrainThenWaterThenTheFrustumOfThePerspectiveCamera) {
  TerrainScene scene;
  scene.mover.speed = 50;
  scene.Update(1.0, 0.016);
  scene.orthoCamera.position = {5000, 0, 5000};
  recgl::Reset();
  scene.Render();
  EXPECT_TRUE(SameBox(scene.terrain.bounds, scene.camera.bounds));

  // The lit strips first, so that the water blends over them, and the wire box over both.
  const std::vector<GlPrimitive>& drawn = recgl::Primitives();
  const std::size_t strips = std::size_t(scene.terrain.rows - 3);
  ASSERT_GT(strips, 0u);
  ASSERT_EQ(drawn.size(), strips + 1 + 6 + 1);
  for (std::size_t k = 0; k < strips; ++k) {
    EXPECT_EQ(drawn[k].mode, GLenum{GL_TRIANGLE_STRIP});
    EXPECT_TRUE(drawn[k].state.IsOn(GL_LIGHTING) && !drawn[k].state.IsOn(GL_BLEND));
  }
  const GlPrimitive& water = drawn[strips];
  EXPECT_TRUE(water.state.IsOn(GL_BLEND));
  ASSERT_EQ(water.vertices.size(), 4u);
  const BoundingBox& box = scene.camera.bounds;
  EXPECT_EQ(Of(water.vertices[0].position), Xyz(box.min.x, 0, box.min.z));
  EXPECT_EQ(Of(water.vertices[3].position), Xyz(box.max.x, 0, box.max.z));
  for (std::size_t k = strips + 1; k < strips + 7; ++k) {
    EXPECT_EQ(drawn[k].mode, GLenum{GL_QUADS});
    for (const GlVertex& v : drawn[k].vertices) {
      bool corner = false;
      for (const Vec3& c : scene.camera.corners) corner = corner || Of(c) == Of(v.position);
      EXPECT_TRUE(corner);
    }
  }
  // The eye where the mover is after this frame's step.
  ASSERT_EQ(drawn.back().vertices.size(), 1u);
  EXPECT_EQ(Of(drawn.back().vertices[0].position), Xyz(0, 0, 50));
}

}  // namespace

}  // namespace vellumor

#include "view/frustum_drawing.h"

#include <gtest/gtest.h>

#include <bit>
#include <set>
#include <utility>
#include <vector>

#include "support/vec3_checks.h"
#include "testing/allocation_counter.h"
#include "testing/recording_gl.h"
#include "view/camera.h"

namespace vellumor {

namespace {

using Colour = std::vector<double>;

// Which of the camera's corners lies at p (bit 0 right, bit 1 bottom, bit 2 far), or -1.
int CornerAt(const Camera& camera, const Vec3& p) {
  for (int k = 0; k < 8; ++k) {
    if (Of(camera.corners[k]) == Of(p)) return k;
  }
  return -1;
}

Vec3 Minus(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 Mean(const std::vector<Vec3>& points) {
  Vec3 sum;
  for (const Vec3& p : points) sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
  const double n = static_cast<double>(points.size());
  return {sum.x / n, sum.y / n, sum.z / n};
}

struct FrustumDrawingTest : ::testing::Test {
  void SetUp() override {
    camera.position = {100, 50, -20};
    camera.yaw = 0.5;
    camera.pitch = 0.25;
    camera.UpdateFrustum();
    recgl::Reset();
  }
  Camera camera;
};

TEST_F(FrustumDrawingTest, DrawsTheSixSidesAsAnUnlitYellowWireBoxOverEverything) {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glColor4d(0, 0, 1, 0.5);  // as the water plane leaves it
  DrawFrustum(camera);

  const std::vector<GlPrimitive>& drawn = recgl::Primitives();
  ASSERT_EQ(drawn.size(), 7u);
  const Vec3 centre = Mean(std::vector<Vec3>(camera.corners.begin(), camera.corners.end()));
  std::set<std::pair<int, int>> sides;  // (the corner bit all four share, its value)
  int outward = 0;
  for (std::size_t q = 0; q < 6; ++q) {
    SCOPED_TRACE(q);
    const GlPrimitive& quad = drawn[q];
    ASSERT_EQ(quad.mode, GLenum{GL_QUADS});
    ASSERT_EQ(quad.vertices.size(), 4u);
    int k[4];
    std::vector<Vec3> points;
    for (int n = 0; n < 4; ++n) {
      k[n] = CornerAt(camera, quad.vertices[n].position);
      ASSERT_GE(k[n], 0);
      points.push_back(quad.vertices[n].position);
      EXPECT_EQ(Colour(quad.vertices[n].color, quad.vertices[n].color + 4), (Colour{1, 1, 0, 1}));
    }
    // Going round the quad follows edges of the frustum, never a diagonal: an outline, not a bow tie.
    for (int n = 0; n < 4; ++n) EXPECT_EQ(std::popcount(unsigned(k[n] ^ k[(n + 1) % 4])), 1);
    const unsigned shared = ~unsigned((k[0] ^ k[1]) | (k[0] ^ k[2]) | (k[0] ^ k[3])) & 7u;
    ASSERT_EQ(std::popcount(shared), 1);
    sides.insert({int(shared), k[0] & int(shared)});
    // Every side wound the same way seen from outside.
    const Vec3 normal = Cross(Minus(points[1], points[0]), Minus(points[2], points[1]));
    outward += Dot(normal, Minus(Mean(points), centre)) > 0 ? 1 : 0;

    EXPECT_FALSE(quad.state.IsOn(GL_DEPTH_TEST));
    EXPECT_FALSE(quad.state.IsOn(GL_LIGHTING));
    EXPECT_EQ(quad.state.polygonFront, GLenum{GL_LINE});
    EXPECT_EQ(quad.state.polygonBack, GLenum{GL_LINE});
  }
  EXPECT_EQ(sides.size(), 6u);  // near and far, left and right, top and bottom
  EXPECT_TRUE(outward == 0 || outward == 6) << outward << " of 6 sides wound one way";

  // The eye: one white point of size 2, also over everything.
  const GlPrimitive& eye = drawn[6];
  ASSERT_EQ(eye.mode, GLenum{GL_POINTS});
  ASSERT_EQ(eye.vertices.size(), 1u);
  EXPECT_EQ(Of(eye.vertices[0].position), Xyz(100, 50, -20));
  EXPECT_EQ(Colour(eye.vertices[0].color, eye.vertices[0].color + 4), (Colour{1, 1, 1, 1}));
  EXPECT_EQ(eye.state.pointSize, 2.0);
  EXPECT_FALSE(eye.state.IsOn(GL_DEPTH_TEST));
  EXPECT_FALSE(eye.state.IsOn(GL_LIGHTING));
}

TEST_F(FrustumDrawingTest, GivesBackDepthTestLightingAndPolygonModeAndLeavesWhite) {
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on);
    recgl::Reset();
    if (on) {
      glEnable(GL_DEPTH_TEST);
      glEnable(GL_LIGHTING);
    }
    glPolygonMode(GL_BACK, GL_POINT);
    DrawFrustum(camera);
    const GlState& s = recgl::State();
    EXPECT_EQ(s.IsOn(GL_DEPTH_TEST), on);
    EXPECT_EQ(s.IsOn(GL_LIGHTING), on);
    EXPECT_EQ(s.polygonFront, GLenum{GL_FILL});
    EXPECT_EQ(s.polygonBack, GLenum{GL_POINT});
    EXPECT_EQ(s.attribDepth, 0);
    EXPECT_EQ(s.pointSize, 2.0);
    EXPECT_EQ(Colour(s.color, s.color + 4), (Colour{1, 1, 1, 1}));
  }

  // It runs every frame: the box lives on the stack.
  recgl::SetRecording(false);
  const std::size_t before = alloccount::Count();
  DrawFrustum(camera);
  EXPECT_EQ(alloccount::Count(), before);
}

}  // namespace

}  // namespace vellumor

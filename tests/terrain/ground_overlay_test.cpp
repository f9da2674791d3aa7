#include "terrain/ground_overlay.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/vec3_checks.h"
#include "testing/recording_gl.h"

namespace vellumor {

namespace {

using Colour = std::vector<double>;

struct GroundOverlayTest : ::testing::Test {
  void SetUp() override {
    recgl::Reset();
    overlay.bounds = {{-100, -5, -200}, {300, 7, 400}};
  }
  GroundOverlay overlay;
};

TEST_F(GroundOverlayTest, DrawsOneHalfTransparentBlueQuadAtHeightZeroOverTheBox) {
  glEnable(GL_DEPTH_TEST);  // as the terrain leaves it
  glEnable(GL_LIGHTING);
  glPolygonMode(GL_FRONT, GL_LINE);
  overlay.Draw();

  ASSERT_EQ(recgl::Primitives().size(), 1u);
  const GlPrimitive& quad = recgl::Primitives()[0];
  // A strip of two triangles: (v0, v1, v2) and (v1, v2, v3) cover the rectangle only in this order.
  ASSERT_EQ(quad.mode, GLenum{GL_TRIANGLE_STRIP});
  ASSERT_EQ(quad.vertices.size(), 4u);
  const Xyz corners[4] = {{-100, 0, -200}, {300, 0, -200}, {-100, 0, 400}, {300, 0, 400}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(Of(quad.vertices[k].position), corners[k]) << k;
    EXPECT_EQ(Colour(quad.vertices[k].color, quad.vertices[k].color + 4), (Colour{0, 0, 1, 0.5}));
  }
  // Blended over the terrain, depth-tested against it, writing no depth of its own, unlit and filled.
  const GlState& s = quad.state;
  EXPECT_TRUE(s.IsOn(GL_BLEND));
  EXPECT_EQ(s.blendSrc, GLenum{GL_SRC_ALPHA});
  EXPECT_EQ(s.blendDst, GLenum{GL_ONE_MINUS_SRC_ALPHA});
  EXPECT_TRUE(s.IsOn(GL_DEPTH_TEST));
  EXPECT_FALSE(s.depthMask);
  EXPECT_FALSE(s.IsOn(GL_LIGHTING));
  EXPECT_EQ(s.polygonFront, GLenum{GL_FILL});
  EXPECT_EQ(s.polygonBack, GLenum{GL_FILL});
}

TEST_F(GroundOverlayTest, GivesBackEnablesPolygonModeAndDepthWritesButLeavesColourAndBlendFunction) {
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on);
    recgl::Reset();
    if (on) {
      glEnable(GL_LIGHTING);
      glEnable(GL_BLEND);
    }
    glPolygonMode(GL_FRONT, GL_LINE);
    overlay.Draw();
    const GlState& s = recgl::State();
    EXPECT_EQ(s.IsOn(GL_LIGHTING), on);
    EXPECT_EQ(s.IsOn(GL_BLEND), on);
    EXPECT_EQ(s.polygonFront, GLenum{GL_LINE});
    EXPECT_EQ(s.polygonBack, GLenum{GL_FILL});
    EXPECT_TRUE(s.depthMask);
    EXPECT_EQ(s.attribDepth, 0);
    // The text overlay drawn later blends with these.
    EXPECT_EQ(s.blendSrc, GLenum{GL_SRC_ALPHA});
    EXPECT_EQ(s.blendDst, GLenum{GL_ONE_MINUS_SRC_ALPHA});
    EXPECT_EQ(Colour(s.color, s.color + 4), (Colour{0, 0, 1, 0.5}));
  }
}

}  // namespace

}  // namespace vellumor

#include "terrain/ground_overlay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/recording_gl.h"

namespace vellumor {

namespace {

TEST(GroundOverlayTest, DrawsOneBlendedQuadAndLeavesColourAndBlendFunction) {
  recgl::Reset();
  glEnable(GL_LIGHTING);
  glPolygonMode(GL_FRONT, GL_LINE);
  GroundOverlay overlay;
  overlay.bounds = {{-100, -5, -200}, {300, 7, 400}};
  overlay.Draw();

  EXPECT_EQ(recgl::Names(), (std::vector<std::string>{"glEnable", "glPolygonMode", "glPushAttrib", "glColor4d",
                                                      "glDisable", "glEnable", "glBlendFunc", "glDepthMask",
                                                      "glPolygonMode", "glBegin", "glVertex3d", "glVertex3d",
                                                      "glVertex3d", "glVertex3d", "glEnd", "glDepthMask",
                                                      "glPopAttrib"}));
  const std::vector<GlCall>& c = recgl::Calls();
  EXPECT_EQ(c[2].args[0], GL_ENABLE_BIT | GL_POLYGON_BIT);
  EXPECT_EQ(c[4].args[0], GL_LIGHTING);
  EXPECT_EQ(c[5].args[0], GL_BLEND);
  EXPECT_EQ(c[7].args[0], GL_FALSE);
  EXPECT_EQ(c[8].args, (std::vector<double>{GL_FRONT_AND_BACK, GL_FILL}));
  EXPECT_EQ(c[9].args[0], GL_TRIANGLE_STRIP);
  const double corners[4][3] = {{-100, 0, -200}, {300, 0, -200}, {-100, 0, 400}, {300, 0, 400}};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(c[10 + k].args, (std::vector<double>(corners[k], corners[k] + 3)));

  const GlState& s = recgl::State();
  EXPECT_TRUE(s.IsOn(GL_LIGHTING));
  EXPECT_FALSE(s.IsOn(GL_BLEND));
  EXPECT_EQ(s.polygonFront, GLenum{GL_LINE});
  EXPECT_TRUE(s.depthMask);
  // The text overlay drawn later blends with these.
  EXPECT_EQ(s.blendSrc, GLenum{GL_SRC_ALPHA});
  EXPECT_EQ(s.blendDst, GLenum{GL_ONE_MINUS_SRC_ALPHA});
  EXPECT_EQ((std::vector<double>(s.color, s.color + 4)), (std::vector<double>{0, 0, 1, 0.5}));
}

}  // namespace

}  // namespace vellumor

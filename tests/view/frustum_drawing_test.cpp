#include "view/frustum_drawing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/allocation_counter.h"
#include "testing/recording_gl.h"
#include "view/camera.h"
#include "view/quad_mesh.h"

namespace vellumor {

namespace {

TEST(FrustumDrawingTest, DrawsAnUnlitYellowBoxOverEverythingAndRestoresTheState) {
  Camera camera;
  camera.position = {100, 50, -20};
  camera.yaw = 0.5;
  camera.pitch = 0.25;
  camera.UpdateFrustum();
  recgl::Reset();
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  // It runs every frame: the box lives on the stack.
  const std::size_t before = alloccount::Count();
  recgl::SetRecording(false);
  DrawFrustum(camera);
  EXPECT_EQ(alloccount::Count(), before);
  recgl::SetRecording(true);
  DrawFrustum(camera);

  std::vector<std::string> names = recgl::Names();
  names.erase(names.begin() + 8, names.end() - 6);  // the mesh's own calls
  EXPECT_EQ(names, (std::vector<std::string>{"glEnable", "glEnable", "glPushAttrib", "glDisable", "glDisable",
                                             "glPolygonMode", "glColor3d", "glEnableClientState", "glColor3d",
                                             "glPointSize", "glBegin", "glVertex3dv", "glEnd", "glPopAttrib"}));
  const std::vector<GlCall>& c = recgl::Calls();
  EXPECT_EQ(c[2].args[0], GL_POLYGON_BIT | GL_ENABLE_BIT);
  EXPECT_EQ(c[3].args[0], GL_DEPTH_TEST);
  EXPECT_EQ(c[4].args[0], GL_LIGHTING);
  EXPECT_EQ(c[5].args, (std::vector<double>{GL_FRONT_AND_BACK, GL_LINE}));
  EXPECT_EQ(c[6].args, (std::vector<double>{1, 1, 0}));
  EXPECT_EQ(recgl::Named("glColor3d")[1].args, (std::vector<double>{1, 1, 1}));
  EXPECT_EQ(recgl::Named("glVertex3dv")[0].args, (std::vector<double>{100, 50, -20}));
  const std::vector<GlCall> draws = recgl::Named("glDrawElements");
  ASSERT_EQ(draws.size(), 6u);
  for (std::size_t q = 0; q < 6; ++q) {
    for (std::size_t k = 0; k < 4; ++k) {
      const Vec3& corner = camera.corners[BoxFaces[q][k]];
      EXPECT_EQ(std::vector<double>(draws[q].data.begin() + 4 + 3 * k, draws[q].data.begin() + 7 + 3 * k),
                (std::vector<double>{corner.x, corner.y, corner.z}));
    }
  }

  const GlState& s = recgl::State();
  EXPECT_TRUE(s.IsOn(GL_DEPTH_TEST) && s.IsOn(GL_LIGHTING));
  EXPECT_EQ(s.polygonFront, GLenum{GL_FILL});
  EXPECT_EQ(s.attribDepth, 0);
  EXPECT_EQ(s.pointSize, 2.0);
  EXPECT_EQ((std::vector<double>(s.color, s.color + 3)), (std::vector<double>{1, 1, 1}));
}

}  // namespace

}  // namespace vellumor

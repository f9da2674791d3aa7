// The subset's matrices: where a point lands in clip coordinates after the
// matrix calls the viewer makes, against values worked out by hand, also
// far from the world's origin.

#include <GL/gl.h>

#include <vector>

#include "gl_over_webgl/context.h"
#include "subset_fixture.h"

namespace vellumor::webgl {
namespace {

struct MatrixCase {
  const char* name;
  void (*setUp)();
  double x, y, z;
  double clip[4];
};

void PrintTo(const MatrixCase& c, std::ostream* out) { *out << c.name; }

const MatrixCase kCases[] = {
    {"rotation about z turns x into y", [] { glRotated(90, 0, 0, 1); }, 1, 0, 0, {0, 1, 0, 1}},
    {"rotation about y turns z into x", [] { glRotated(90, 0, 1, 0); }, 0, 0, 1, {1, 0, 0, 1}},
    {"rotation axis need not be unit", [] { glRotated(-90, 2, 0, 0); }, 0, 1, 0, {0, 0, -1, 1}},
    {"translation after scaling", [] { glTranslated(1, 2, 3); glScaled(2, 2, 2); }, 1, 1, 1, {3, 4, 5, 1}},
    {"the view's mirror of z", [] { glTranslated(-10, 0, 5); glScaled(1, 1, -1); }, 10, 0, 5, {0, 0, 0, 1}},
    {"orthographic box to the unit cube",
     [] { glMatrixMode(GL_PROJECTION); glOrtho(0, 200, 0, 100, -1, 1); }, 50, 25, 0.5, {-0.5, -0.5, -0.5, 1}},
    {"perspective divides by the depth",
     [] { glMatrixMode(GL_PROJECTION); glFrustum(-1, 1, -1, 1, 1, 3); }, 0.5, 0.5, -2, {0.5, 0.5, 1, 2}},
    {"projection times modelview",
     [] {
       glMatrixMode(GL_PROJECTION); glOrtho(-2, 2, -2, 2, -2, 2);
       glMatrixMode(GL_MODELVIEW); glTranslated(1, 0, 0);
     },
     1, 0, 0, {1, 0, 0, 1}},
    {"pop returns to the pushed matrix",
     [] { glTranslated(1, 0, 0); glPushMatrix(); glTranslated(5, 0, 0); glPopMatrix(); }, 0, 0, 0, {1, 0, 0, 1}},
    {"each mode has its own stack",
     [] {
       glMatrixMode(GL_PROJECTION); glPushMatrix(); glScaled(3, 3, 3);
       glMatrixMode(GL_MODELVIEW); glTranslated(1, 0, 0);
       glMatrixMode(GL_PROJECTION); glPopMatrix(); glMatrixMode(GL_MODELVIEW);
     },
     1, 0, 0, {2, 0, 0, 1}},
    {"pop of the last matrix is ignored", [] { glTranslated(1, 0, 0); glPopMatrix(); }, 1, 0, 0, {2, 0, 0, 1}},
    {"load identity clears the current matrix only",
     [] {
       glMatrixMode(GL_PROJECTION); glScaled(2, 2, 2);
       glMatrixMode(GL_MODELVIEW); glTranslated(9, 9, 9); glLoadIdentity();
     },
     1, 1, 1, {2, 2, 2, 1}},
    // A minimised window's overlay asks for a box of no width: OpenGL refuses it.
    {"empty orthographic box is ignored", [] { glMatrixMode(GL_PROJECTION); glOrtho(0, 0, 0, 0, -1, 1); }, 3, 4, 0,
     {3, 4, 0, 1}},
};

class MatrixTest : public SubsetTest, public ::testing::WithParamInterface<MatrixCase> {};

TEST_P(MatrixTest, PointLandsWhereWorkedOut) {
  const MatrixCase& c = GetParam();
  // Everything a sixteenth of its size in clip coordinates, so that every
  // case's point lies inside the clip volume and is drawn.
  glMatrixMode(GL_PROJECTION);
  glScaled(1.0 / 16, 1.0 / 16, 1.0 / 16);
  glMatrixMode(GL_MODELVIEW);
  c.setUp();
  glMatrixMode(GL_MODELVIEW);
  glBegin(GL_POINTS);
  glVertex3d(c.x, c.y, c.z);
  glEnd();
  glFinish();
  const ShadedVertex point = OnlyPoint();
  const float* p = point.position;
  const float clip[4] = {16 * p[0], 16 * p[1], 16 * p[2], p[3]};
  EXPECT_VEC4_NEAR(clip, c.clip[0], c.clip[1], c.clip[2], c.clip[3]);
}

INSTANTIATE_TEST_SUITE_P(Subset, MatrixTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// Far from the world's origin a vertex keeps its place: a triangle 10^7
// units out, seen from 100 units away, lands on the window pixels (to a
// hundredth of one, in a 256-pixel viewport) of the same triangle near the origin.
TEST_F(SubsetTest, FarTriangleLandsWhereNearOneDoes) {
  auto window = [this](double offset) {
    ResetContext();
    backend.draws.clear();
    glMatrixMode(GL_PROJECTION);
    glFrustum(-1, 1, -1, 1, 1, 1000);
    glMatrixMode(GL_MODELVIEW);
    glRotated(10, 1, 0, 0);
    glTranslated(-offset, -offset, -offset - 100);
    glBegin(GL_TRIANGLES);
    glVertex3d(offset - 20.5, offset - 10.25, offset);
    glVertex3d(offset + 30.75, offset - 5.5, offset + 0.5);
    glVertex3d(offset + 0.5, offset + 25.25, offset - 0.25);
    glEnd();
    glFinish();
    std::vector<double> pixels;
    for (const auto& triangle : Shapes<3>(Primitive::Triangles)) {
      for (const ShadedVertex& v : triangle) {
        for (int axis = 0; axis < 2; ++axis) pixels.push_back((v.position[axis] / v.position[3] + 1) * 128);
      }
    }
    return pixels;
  };
  const std::vector<double> near = window(0);
  const std::vector<double> far = window(1e7);
  ASSERT_EQ(near.size(), 6u);
  ASSERT_EQ(far.size(), 6u);
  for (std::size_t i = 0; i < near.size(); ++i) EXPECT_NEAR(far[i], near[i], 0.01) << "coordinate " << i;
}

}  // namespace
}  // namespace vellumor::webgl

// The subset's primitive assembly and batching: what reaches the backend for
// the viewer's triangle strips, its quads from a vertex array, line polygon
// mode, and how draws are gathered.

#include <GL/gl.h>

#include <vector>

#include "subset_fixture.h"

namespace vellumor::webgl {
namespace {

// With identity matrices a vertex's clip x and y are its own: (x, y) of each corner, in order.
template <std::size_t N>
std::vector<std::array<float, 2 * N>> Corners(const std::vector<std::array<Vertex, N>>& shapes) {
  std::vector<std::array<float, 2 * N>> out;
  for (const auto& shape : shapes) {
    std::array<float, 2 * N>& corners = out.emplace_back();
    for (std::size_t k = 0; k < N; ++k) {
      corners[2 * k] = shape[k].position[0];
      corners[2 * k + 1] = shape[k].position[1];
    }
  }
  return out;
}

using Triangle = std::array<float, 6>;
using Line = std::array<float, 4>;

// The points 0..n-1 of a zigzag: (i, i % 2).
void Strip(int n) {
  glBegin(GL_TRIANGLE_STRIP);
  for (int i = 0; i < n; ++i) glVertex3d(i, i % 2, 0);
  glEnd();
}

TEST_F(SubsetTest, StripBecomesTrianglesOfOneWinding) {
  Strip(5);
  glFinish();
  // The second triangle swaps its first two corners, as OpenGL orders a strip's odd triangles.
  EXPECT_EQ(Corners(Shapes<3>(Primitive::Triangles)),
            (std::vector<Triangle>{{0, 0, 1, 1, 2, 0}, {2, 0, 1, 1, 3, 1}, {2, 0, 3, 1, 4, 0}}));
}

TEST_F(SubsetTest, QuadsFromVertexArrayBecomeTwoTrianglesEach) {
  const GLdouble vertices[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
  const GLuint indices[] = {0, 1, 3, 2};
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_DOUBLE, 0, vertices);
  glDrawElements(GL_QUADS, 4, GL_UNSIGNED_INT, indices);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDrawElements(GL_QUADS, 4, GL_UNSIGNED_INT, indices);  // array off: nothing
  glFinish();
  EXPECT_EQ(Corners(Shapes<3>(Primitive::Triangles)), (std::vector<Triangle>{{0, 0, 1, 0, 1, 1}, {0, 0, 1, 1, 0, 1}}));
}

TEST_F(SubsetTest, LinePolygonModeDrawsEveryEdge) {
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glBegin(GL_QUADS);
  glVertex3d(0, 0, 0);
  glVertex3d(1, 0, 0);
  glVertex3d(1, 1, 0);
  glVertex3d(0, 1, 0);
  glEnd();
  Strip(4);
  glFinish();
  EXPECT_TRUE(Shapes<3>(Primitive::Triangles).empty());
  EXPECT_EQ(Corners(Shapes<2>(Primitive::Lines)), (std::vector<Line>{{0, 0, 1, 0},
                                                                     {1, 0, 1, 1},
                                                                     {1, 1, 0, 1},
                                                                     {0, 1, 0, 0},  // the quad, no diagonal
                                                                     {0, 0, 1, 1},
                                                                     {1, 1, 2, 0},
                                                                     {2, 0, 0, 0},  // the strip's first triangle
                                                                     {2, 0, 1, 1},
                                                                     {1, 1, 3, 1},
                                                                     {3, 1, 2, 0}}));
}

struct FacingCase {
  const char* name;
  GLenum front, back;
  bool clockwise;
  Primitive drawnAs;
};

void PrintTo(const FacingCase& c, std::ostream* out) { *out << c.name; }

const FacingCase kFacingCases[] = {
    {"front face outlined", GL_LINE, GL_FILL, false, Primitive::Lines},
    {"back face filled", GL_LINE, GL_FILL, true, Primitive::Triangles},
    {"front face filled", GL_FILL, GL_LINE, false, Primitive::Triangles},
    {"back face outlined", GL_FILL, GL_LINE, true, Primitive::Lines},
    {"back face as points", GL_FILL, GL_POINT, true, Primitive::Points},
};

class FacingTest : public SubsetTest, public ::testing::WithParamInterface<FacingCase> {};

TEST_P(FacingTest, EachFaceHasItsPolygonMode) {
  const FacingCase& c = GetParam();
  glPolygonMode(GL_FRONT, c.front);
  glPolygonMode(GL_BACK, c.back);
  glBegin(GL_TRIANGLES);
  glVertex3d(0, 0, 0);
  glVertex3d(c.clockwise ? 0 : 1, c.clockwise ? 1 : 0, 0);
  glVertex3d(c.clockwise ? 1 : 0, c.clockwise ? 0 : 1, 0);
  glEnd();
  glFinish();
  ASSERT_EQ(backend.draws.size(), 1u);
  EXPECT_EQ(backend.draws[0].kind, c.drawnAs);
}

INSTANTIATE_TEST_SUITE_P(Subset, FacingTest, ::testing::ValuesIn(kFacingCases),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST_F(SubsetTest, StripsInOneStateShareOneDraw) {
  for (int row = 0; row < 3; ++row) Strip(6);
  glFinish();
  ASSERT_EQ(backend.draws.size(), 1u);
  EXPECT_EQ(backend.draws[0].vertices.size(), 3u * 3 * 4);
}

TEST_F(SubsetTest, ChangedStateStartsAnotherDraw) {
  glEnable(GL_DEPTH_TEST);
  Strip(3);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  glViewport(1, 2, 30, 40);
  Strip(3);
  glFinish();
  ASSERT_EQ(backend.draws.size(), 2u);
  RasterState first, second;
  first.depthTest = true;
  second.blend = true;
  second.blendSrc = GL_SRC_ALPHA;
  second.blendDst = GL_ONE_MINUS_SRC_ALPHA;
  second.depthWrite = false;
  second.viewport[0] = 1;
  second.viewport[1] = 2;
  second.viewport[2] = 30;
  second.viewport[3] = 40;
  EXPECT_EQ(backend.draws[0].state, first);
  EXPECT_EQ(backend.draws[1].state, second);
}

// 16-bit indices reach 65,536 vertices: a longer strip goes out in two draws
// and loses no triangle.
TEST_F(SubsetTest, LongStripSplitsWithoutLosingTriangles) {
  Strip(70000);
  glFinish();
  EXPECT_EQ(backend.draws.size(), 2u);
  EXPECT_EQ(Shapes<3>(Primitive::Triangles).size(), 70000u - 2);
}

TEST_F(SubsetTest, PointsCarryTheirSize) {
  glPointSize(2);
  glBegin(GL_POINTS);
  glVertex3d(0, 0, 0);
  glEnd();
  glFinish();
  ASSERT_EQ(backend.draws.size(), 1u);
  EXPECT_EQ(backend.draws[0].state.pointSize, 2.0f);
}

// What was drawn before a clear reaches the backend before it; a depth buffer
// under glDepthMask(GL_FALSE) is not cleared.
TEST_F(SubsetTest, ClearKeepsItsPlaceAndTheDepthMask) {
  Strip(3);
  glDepthMask(GL_FALSE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDepthMask(GL_TRUE);
  glClear(GL_DEPTH_BUFFER_BIT);
  EXPECT_EQ(std::string(backend.order.begin(), backend.order.end()), "DCC");
  ASSERT_EQ(backend.clears.size(), 2u);
  EXPECT_TRUE(backend.clears[0].color);
  EXPECT_FALSE(backend.clears[0].depth);
  EXPECT_FALSE(backend.clears[1].color);
  EXPECT_TRUE(backend.clears[1].depth);
}

}  // namespace
}  // namespace vellumor::webgl

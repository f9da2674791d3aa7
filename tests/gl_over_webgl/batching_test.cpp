// The subset's primitive assembly and batching: what reaches the backend for
// the viewer's triangle strips, its quads from a vertex array, line polygon
// mode, and how draws are gathered.

#include <GL/gl.h>

#include <vector>

#include "subset_fixture.h"

namespace vellumor::webgl {
namespace {

// With identity matrices a vertex's clip x and y are its own; the shapes are
// drawn an eighth of their size, inside the clip volume: (x, y) of each
// corner, in order, at full size.
template <std::size_t N>
std::vector<std::array<float, 2 * N>> Corners(const std::vector<std::array<ShadedVertex, N>>& shapes) {
  std::vector<std::array<float, 2 * N>> out;
  for (const auto& shape : shapes) {
    std::array<float, 2 * N>& corners = out.emplace_back();
    for (std::size_t k = 0; k < N; ++k) {
      corners[2 * k] = 8 * shape[k].position[0];
      corners[2 * k + 1] = 8 * shape[k].position[1];
    }
  }
  return out;
}

using Triangle = std::array<float, 6>;
using Line = std::array<float, 4>;

// The corners of the unit square, row by row.
const GLdouble kSquare[4][3] = {{0, 0, 0}, {0.125, 0, 0}, {0, 0.125, 0}, {0.125, 0.125, 0}};

// The points 0..n-1 of a zigzag: (i, i % 2), from the eighth point on again from the start.
void Strip(int n) {
  glBegin(GL_TRIANGLE_STRIP);
  for (int i = 0; i < n; ++i) glVertex3d((i % 8) / 8.0, (i % 2) / 8.0, 0);
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
  const GLuint indices[] = {0, 1, 3, 2};
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_DOUBLE, 0, kSquare);
  glDrawElements(GL_QUADS, 4, GL_UNSIGNED_INT, indices);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDrawElements(GL_QUADS, 4, GL_UNSIGNED_INT, indices);  // array off: nothing
  glFinish();
  EXPECT_EQ(Corners(Shapes<3>(Primitive::Triangles)), (std::vector<Triangle>{{0, 0, 1, 0, 1, 1}, {0, 0, 1, 1, 0, 1}}));
}

// Each polygon outlined: a quad's four sides without the diagonal, every side of a strip's triangles.
TEST_F(SubsetTest, LinePolygonModeDrawsEveryEdge) {
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glBegin(GL_QUADS);
  for (const double* v : {kSquare[0], kSquare[1], kSquare[3], kSquare[2]}) glVertex3dv(v);
  glEnd();
  Strip(4);
  glFinish();
  EXPECT_TRUE(Shapes<3>(Primitive::Triangles).empty());
  const auto lines = Corners(Shapes<2>(Primitive::Lines));
  ASSERT_EQ(lines.size(), 4u + 2 * 3);
  EXPECT_EQ(std::vector<Line>(lines.begin(), lines.begin() + 4),
            (std::vector<Line>{{0, 0, 1, 0}, {1, 0, 1, 1}, {1, 1, 0, 1}, {0, 1, 0, 0}}));
}

// Only what reaches the clip volume is drawn: not a triangle wholly beyond
// one of its planes, but one whose corners lie beyond different planes.
TEST_F(SubsetTest, PrimitivesBeyondTheClipVolumeAreLeftOut) {
  glBegin(GL_TRIANGLES);
  for (const double* v : {kSquare[0], kSquare[1], kSquare[2]}) glVertex3d(v[0] + 1.5, v[1], v[2]);
  glVertex3d(-2, -0.5, 0);
  glVertex3d(2, -0.5, 0);
  glVertex3d(0, 2, 0);
  glEnd();
  glFinish();
  EXPECT_EQ(Corners(Shapes<3>(Primitive::Triangles)), (std::vector<Triangle>{{-16, -4, 16, -4, 0, 16}}));
}

// A filled polygon that falls between the pixel centres draws no fragment
// and is left out; one that holds a centre, or comes within the margin of
// one that a rasteriser's snapping could reach, is drawn, as is any outline.
struct CentreCase {
  const char* name;
  GLenum primitive, polygonMode;
  int corners;
  double window[4][2];  // in the 256 by 256 viewport's pixels
  bool drawn;
};

void PrintTo(const CentreCase& c, std::ostream* out) { *out << c.name; }

const CentreCase kCentreCases[] = {
    {"inside one pixel, off its centre", GL_TRIANGLES, GL_FILL, 3, {{10.7, 10.7}, {11.3, 10.7}, {10.7, 11.3}}, false},
    {"a long sliver between two rows", GL_TRIANGLES, GL_FILL, 3, {{10, 20.7}, {50, 20.7}, {30, 21.3}}, false},
    {"holding a centre", GL_TRIANGLES, GL_FILL, 3, {{10.2, 10.2}, {11, 10.2}, {10.2, 11}}, true},
    {"a centre within the margin", GL_TRIANGLES, GL_FILL, 3, {{10.58, 10.58}, {11.3, 10.58}, {10.58, 11.3}}, true},
    {"outlined", GL_TRIANGLES, GL_LINE, 3, {{10.7, 10.7}, {11.3, 10.7}, {10.7, 11.3}}, true},
};

class CentreTest : public SubsetTest, public ::testing::WithParamInterface<CentreCase> {};

TEST_P(CentreTest, FilledPolygonsBetweenPixelCentresAreLeftOut) {
  const CentreCase& c = GetParam();
  glPolygonMode(GL_FRONT_AND_BACK, c.polygonMode);
  glBegin(c.primitive);
  for (int i = 0; i < c.corners; ++i) glVertex3d(c.window[i][0] / 128 - 1, c.window[i][1] / 128 - 1, 0);
  glEnd();
  glFinish();
  EXPECT_EQ(!backend.draws.empty(), c.drawn);
}

INSTANTIATE_TEST_SUITE_P(Subset, CentreTest, ::testing::ValuesIn(kCentreCases),
                         [](const auto& info) { return CaseName(info.param.name); });

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
    {"back face as points", GL_FILL, GL_POINT, true, Primitive::Points},
};

class FacingTest : public SubsetTest, public ::testing::WithParamInterface<FacingCase> {};

TEST_P(FacingTest, EachFaceHasItsPolygonMode) {
  const FacingCase& c = GetParam();
  glPolygonMode(GL_FRONT, c.front);
  glPolygonMode(GL_BACK, c.back);
  glBegin(GL_TRIANGLES);
  glVertex3d(0, 0, 0);
  glVertex3d(c.clockwise ? 0 : 0.5, c.clockwise ? 0.5 : 0, 0);
  glVertex3d(c.clockwise ? 0.5 : 0, c.clockwise ? 0 : 0.5, 0);
  glEnd();
  glFinish();
  ASSERT_EQ(backend.draws.size(), 1u);
  EXPECT_EQ(backend.draws[0].kind, c.drawnAs);
}

INSTANTIATE_TEST_SUITE_P(Subset, FacingTest, ::testing::ValuesIn(kFacingCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// The terrain's strips go out in one draw; what follows a change of state in another.
TEST_F(SubsetTest, DrawsAreGatheredUntilTheStateChanges) {
  glEnable(GL_DEPTH_TEST);
  for (int row = 0; row < 3; ++row) Strip(6);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  glViewport(1, 2, 30, 40);
  Strip(3);
  glFinish();
  ASSERT_EQ(backend.draws.size(), 2u);
  EXPECT_EQ(backend.draws[0].vertices.size(), 3u * 4 * 3);
  EXPECT_EQ(backend.draws[0].state, (RasterState{{0, 0, 256, 256}, true, true, false, GL_ONE, GL_ZERO, 1}));
  EXPECT_EQ(backend.draws[1].state,
            (RasterState{{1, 2, 30, 40}, false, false, true, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 1}));
}

// 16-bit indices reach 65,536 vertices: a longer strip goes out in two draws
// and loses no triangle.
TEST_F(SubsetTest, LongStripSplitsWithoutLosingTriangles) {
  Strip(70000);
  glFinish();
  EXPECT_EQ(backend.draws.size(), 2u);
  EXPECT_EQ(Shapes<3>(Primitive::Triangles).size(), 70000u - 2);
}

// What was drawn before a clear reaches the backend before it; a depth buffer
// under glDepthMask(GL_FALSE) is not cleared.
TEST_F(SubsetTest, ClearKeepsItsPlaceAndTheDepthMask) {
  Strip(3);
  glDepthMask(GL_FALSE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDepthMask(GL_TRUE);
  glClear(GL_DEPTH_BUFFER_BIT);
  EXPECT_EQ(backend.calls, "D C Z ");
}

}  // namespace
}  // namespace vellumor::webgl

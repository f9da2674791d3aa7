#include "terrain/terrain.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "testing/allocation_counter.h"
#include "testing/recording_gl.h"
#include "view/camera.h"

namespace vellumor {

namespace {

using Triple = std::array<double, 3>;

BoundingBox Ground(double minX, double minZ, double maxX, double maxZ) { return {{minX, -5, minZ}, {maxX, 7, maxZ}}; }

Triple At(const std::vector<double>& a, const Terrain& t, int i, int j) {
  const auto k = 3 * (std::size_t(i) * std::size_t(t.columns) + std::size_t(j));
  return {a[k], a[k + 1], a[k + 2]};
}

Triple Arg(const GlCall& c) { return {c.args[0], c.args[1], c.args[2]}; }
Triple Of(const Vec3& v) { return {v.x, v.y, v.z}; }

// The cell normal worked out from the sample positions, apart from the terrain's own indexing.
Vec3 Cell(const Terrain& t, int i, int j) {
  const Triple p = At(t.vertices, t, i, j), a = At(t.vertices, t, i + 1, j), b = At(t.vertices, t, i, j + 1);
  const Triple u{a[0] - p[0], a[1] - p[1], a[2] - p[2]}, v{b[0] - p[0], b[1] - p[1], b[2] - p[2]};
  return Normalized({u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]});
}

struct TerrainTest : ::testing::Test {
  void SetUp() override { recgl::Reset(); }
  Terrain terrain;
};

TEST_F(TerrainTest, SnapsTheBoxAndSetsItsStateFirst) {
  // Truncation towards zero: the margin reaches further on the negative side.
  terrain.bounds = Ground(0, 0, 100, 100);
  terrain.Draw();
  EXPECT_EQ(terrain.columns, 6);
  EXPECT_EQ(terrain.rows, 5);
  EXPECT_EQ(At(terrain.vertices, terrain, 5, 5)[0], 240.0);
  EXPECT_EQ(At(terrain.vertices, terrain, 0, 0)[2], -160.0);
  const std::vector<std::string> names = recgl::Names();
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 12),
            (std::vector<std::string>{"glEnable", "glEnable", "glColor3d", "glPolygonMode", "glShadeModel", "glEnable",
                                      "glMatrixMode", "glPushMatrix", "glLoadIdentity", "glLightfv", "glPopMatrix",
                                      "glBegin"}));
  EXPECT_EQ(recgl::Named("glLightfv")[0].args, (std::vector<double>{GL_LIGHT0, GL_POSITION, 0, 0, 1, 1}));
  EXPECT_EQ(recgl::Count("glBegin"), 2u);  // rows 1 and 2, columns 1 to 3 each
  EXPECT_EQ(recgl::Count("glVertex3dv"), 12u);
  const GlState& s = recgl::State();
  EXPECT_TRUE(s.IsOn(GL_DEPTH_TEST) && s.IsOn(GL_LIGHTING) && s.IsOn(GL_LIGHT0) && s.modelviewDepth == 1);

  terrain.bounds = Ground(-170, -170, 170, 170);
  ASSERT_TRUE(BuildGrid(terrain));
  EXPECT_EQ(terrain.columns, 9);
  EXPECT_EQ(terrain.rows, 8);
  EXPECT_EQ(At(terrain.vertices, terrain, 0, 0)[0], -320.0);

  // Three row steps are sampled and given normals, but no strip is begun.
  recgl::Reset();
  terrain.bounds = Ground(10, 10, 10, 10);
  terrain.Draw();
  EXPECT_EQ(terrain.rows, 3);
  EXPECT_EQ(terrain.vertices.size(), 4u * 4u * 3u);
  EXPECT_EQ(recgl::Count("glEnable"), 3u);
  EXPECT_EQ(recgl::Count("glBegin"), 0u);
  EXPECT_GT(At(terrain.normals, terrain, 1, 1)[1], 0.5);
}

TEST_F(TerrainTest, StripsPairEachRowWithTheNextAndShiftTheLight) {
  terrain.bounds = Ground(900, -2100, 1400, -1700);  // sloping ground
  terrain.Draw();
  const std::vector<GlCall>& calls = recgl::Calls();
  std::size_t k = recgl::Find("glBegin");
  bool tilted = false;
  for (int i = 1; i <= terrain.rows - 3; ++i) {
    ASSERT_STREQ(calls.at(k++).name, "glBegin");
    for (int j = 1; j <= terrain.columns - 3; ++j) {
      for (int row : {i + 1, i}) {
        ASSERT_STREQ(calls.at(k).name, "glNormal3dv");
        EXPECT_EQ(Arg(calls[k++]), At(terrain.normals, terrain, row, j));
        ASSERT_STREQ(calls.at(k).name, "glVertex3dv");
        EXPECT_EQ(Arg(calls[k++]), At(terrain.vertices, terrain, row, j));
      }
      // The mean of the four cells around sample (i + 1, j + 1), not normalised again.
      const Vec3 a = Cell(terrain, i, j + 1), b = Cell(terrain, i, j), c = Cell(terrain, i + 1, j),
                 d = Cell(terrain, i + 1, j + 1);
      EXPECT_EQ(At(terrain.normals, terrain, i, j),
                (Triple{0.25 * (a.x + b.x + c.x + d.x), 0.25 * (a.y + b.y + c.y + d.y), 0.25 * (a.z + b.z + c.z + d.z)}));
      tilted = tilted || b.y < 0.999;
    }
    ASSERT_STREQ(calls.at(k++).name, "glEnd");
  }
  EXPECT_EQ(k, calls.size());
  EXPECT_TRUE(tilted);
}

TEST_F(TerrainTest, FaceNormalsPointUpAndAwayFromTheSlope) {
  terrain.columns = 2;
  terrain.rows = 1;
  terrain.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1, 1};  // rising along +z
  const double k = 1 / std::sqrt(2.0);
  EXPECT_EQ(Of(terrain.FaceNormal(0, 0)), (Triple{0, k, -k}));
  // The same face so large that its cross product overflows, and so small
  // that it underflows: the same normal, to the bit.
  for (const double scale : {0x1p700, 0x1p-700}) {
    terrain.vertices = {0, 0, 0, scale, 0, 0, 0, scale, scale, scale, scale, scale};
    EXPECT_EQ(Of(terrain.FaceNormal(0, 0)), (Triple{0, k, -k})) << scale;
  }
  // Heights so near the largest double that they differ by more than it.
  constexpr double kHuge = 1e308;
  terrain.vertices = {0, -kHuge, 0, 1, -kHuge, 0, 0, kHuge, 1, 1, kHuge, 1};
  const Vec3 cliff = terrain.FaceNormal(0, 0);
  EXPECT_EQ(cliff.x, 0.0);
  EXPECT_TRUE(cliff.y >= 0.0 && cliff.y < 1e-300) << cliff.y;
  EXPECT_NEAR(cliff.z, -1.0, 1e-15);
  terrain.vertices.assign(12, 3.0);  // collapsed to a point
  EXPECT_EQ(Of(terrain.FaceNormal(0, 0)), (Triple{0, 0, 0}));

  terrain.octaves = 0.5;  // flat at height 1
  terrain.bounds = Ground(-170, -170, 170, 170);
  terrain.Draw();
  EXPECT_EQ(recgl::Count("glNormal3dv"), 5u * 6u * 2u);
  for (const GlCall& n : recgl::Named("glNormal3dv")) EXPECT_EQ(Arg(n), (Triple{0, 1, 0}));
  for (const GlCall& v : recgl::Named("glVertex3dv")) EXPECT_EQ(v.args[1], 1.0);
}

TEST_F(TerrainTest, FineUnitsAreGriddedAtTheSmallestPowerOfTwoMultipleThatFits) {
  const Camera camera;
  Terrain fine, half;
  fine.octaves = half.octaves = 0;  // the heights do not matter here
  fine.bounds = half.bounds = camera.bounds;
  fine.unit = 80.0 / 1024;
  ASSERT_TRUE(BuildGrid(fine));
  const double spacing = fine.vertices[3] - fine.vertices[0];
  EXPECT_EQ(fine.unit, 80.0 / 1024);
  EXPECT_GT(spacing, fine.unit);
  EXPECT_EQ(std::exp2(std::round(std::log2(spacing / fine.unit))), spacing / fine.unit);
  EXPECT_LE(std::int64_t{fine.rows + 1} * fine.columns, kMaxGridSamples);
  half.unit = spacing / 2;
  ASSERT_TRUE(BuildGrid(half));
  EXPECT_EQ(half.vertices[3] - half.vertices[0], spacing);

  // The smallest positive unit overflows the snapping, and still gets a grid.
  fine.unit = std::numeric_limits<double>::denorm_min();
  fine.bounds = Ground(-1000, -1000, 1000, 1000);
  ASSERT_TRUE(BuildGrid(fine));
  EXPECT_GT(fine.rows, 3);
  EXPECT_LE(std::int64_t{fine.rows + 1} * fine.columns, kMaxGridSamples);
}

TEST_F(TerrainTest, BoxesWithoutGroundDrawNoGridAndFarBoxesKeepTheirs) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<Terrain> cases(9);
  cases[0].bounds = Ground(nan, 0, 100, 100);
  cases[1].bounds = Ground(-inf, 0, 100, inf);
  cases[2].bounds = Ground(-1.7e308, 0, 1.7e308, 100);  // finite, but its span overflows
  cases[3].bounds = Ground(1000, 0, -1000, 100);        // inverted
  const double units[] = {0.0, -80.0, nan, inf};
  for (int k = 0; k < 4; ++k) {
    cases[4 + k].unit = units[k];
    cases[4 + k].bounds = Ground(0, 0, 100, 100);
  }
  Camera degenerate;  // a field of view of 180 degrees puts NaN into the box
  degenerate.fov = 180;
  degenerate.UpdateFrustum();
  cases[8].bounds = degenerate.bounds;
  for (Terrain& t : cases) {
    recgl::Reset();
    t.Draw();
    EXPECT_EQ(recgl::Count("glEnable"), 3u);
    EXPECT_EQ(recgl::Count("glBegin"), 0u);
    EXPECT_EQ(t.columns, 0);
  }

  // Past 2^31 units of 80 on both axes.
  recgl::Reset();
  terrain.bounds = Ground(1e12, -3e11, 1e12 + 100, -3e11 + 100);
  terrain.Draw();
  EXPECT_EQ(At(terrain.vertices, terrain, 0, 0), (Triple{999999999840.0, terrain.vertices[1], -300000000160.0}));
  EXPECT_EQ(terrain.columns, 6);
  EXPECT_EQ(terrain.rows, 6);
  EXPECT_EQ(recgl::Count("glBegin"), 3u);
  // Past 2^63 the margin vanishes in rounding and one sample is left.
  terrain.bounds = Ground(1e30, -1e30, 1e30, -1e30);
  ASSERT_TRUE(BuildGrid(terrain));
  EXPECT_EQ(terrain.columns * (terrain.rows + 1), 1);
}

TEST_F(TerrainTest, EmptyBoxTouchesNothingAndArraysKeepTheirCapacity) {
  terrain.bounds = Ground(0, 0, 100, 100);
  terrain.Draw();
  recgl::Reset();
  SetEmpty(terrain.bounds);
  terrain.Draw();
  EXPECT_TRUE(recgl::Calls().empty());
  EXPECT_EQ(terrain.columns, 6);

  terrain.bounds = Camera().bounds;
  terrain.unit = 40;
  ASSERT_TRUE(BuildGrid(terrain));
  const std::size_t before = alloccount::Count();
  for (double unit : {40.0, 80.0, 40.0}) {
    terrain.unit = unit;
    BuildGrid(terrain);
  }
  EXPECT_EQ(alloccount::Count(), before);
}

}  // namespace

}  // namespace vellumor

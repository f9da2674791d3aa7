#include "terrain/terrain.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
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

TEST_F(TerrainTest, SnapsTheBoxToTheGridWithItsMargin) {
  // Truncation towards zero: the margin reaches further on the negative side.
  terrain.bounds = Ground(0, 0, 100, 100);
  terrain.Draw();
  EXPECT_EQ(terrain.columns, 6);
  EXPECT_EQ(terrain.rows, 5);
  EXPECT_EQ(At(terrain.vertices, terrain, 5, 5)[0], 240.0);
  EXPECT_EQ(At(terrain.vertices, terrain, 0, 0)[2], -160.0);
  // Rows 1 and 2, columns 1 to 3 each.
  ASSERT_EQ(recgl::Primitives().size(), 2u);
  EXPECT_EQ(recgl::Primitives()[0].vertices.size(), 6u);

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
  EXPECT_TRUE(recgl::Primitives().empty());
  EXPECT_GT(At(terrain.normals, terrain, 1, 1)[1], 0.5);
}

TEST_F(TerrainTest, DrawsLitBlueAndSmoothWithTheLightBehindTheEye) {
  // The view's matrices, and another matrix mode left current.
  glMatrixMode(GL_MODELVIEW);
  glRotated(30, 1, 0, 0);
  glTranslated(-5, -6, 7);
  glMatrixMode(GL_PROJECTION);
  glFrustum(-1, 1, -1, 1, 1, 100);
  const GlState before = recgl::State();
  terrain.bounds = Ground(-170, -170, 170, 170);
  terrain.Draw();

  ASSERT_EQ(recgl::Primitives().size(), 5u);
  for (const GlPrimitive& strip : recgl::Primitives()) {
    const GlState& s = strip.state;
    EXPECT_EQ(strip.mode, GLenum{GL_TRIANGLE_STRIP});
    EXPECT_TRUE(s.IsOn(GL_DEPTH_TEST) && s.IsOn(GL_LIGHTING) && s.IsOn(GL_LIGHT0));
    EXPECT_EQ(s.shadeModel, GLenum{GL_SMOOTH});
    EXPECT_EQ(s.polygonFront, GLenum{GL_FILL});
    // One unit behind the eye, wherever the view looks from.
    EXPECT_EQ((std::vector<double>(s.lightPosition[0], s.lightPosition[0] + 4)),
              (std::vector<double>{0, 0, 1, 1}));
    EXPECT_TRUE(s.modelview == before.modelview);
    EXPECT_TRUE(s.projection == before.projection);
    for (const GlVertex& v : strip.vertices) {
      EXPECT_EQ((std::vector<double>(v.color, v.color + 4)), (std::vector<double>{0, 0, 1, 1}));
    }
  }
  // All of it stays set for the rest of the frame.
  const GlState& after = recgl::State();
  EXPECT_TRUE(after.IsOn(GL_DEPTH_TEST) && after.IsOn(GL_LIGHTING) && after.IsOn(GL_LIGHT0));
  EXPECT_TRUE(after.modelview == before.modelview);
  EXPECT_EQ(after.modelviewDepth, 1);
}

TEST_F(TerrainTest, StripsPairEachRowWithTheNextAndShiftTheLight) {
  terrain.bounds = Ground(900, -2100, 1400, -1700);  // sloping ground
  terrain.Draw();
  const std::vector<GlPrimitive>& strips = recgl::Primitives();
  ASSERT_EQ(strips.size(), std::size_t(terrain.rows - 3));
  bool tilted = false;
  for (int i = 1; i <= terrain.rows - 3; ++i) {
    const std::vector<GlVertex>& strip = strips[i - 1].vertices;
    ASSERT_EQ(strip.size(), 2 * std::size_t(terrain.columns - 3));
    std::size_t k = 0;
    for (int j = 1; j <= terrain.columns - 3; ++j) {
      // The next row first, then this one: each vertex with its own sample's normal.
      for (int row : {i + 1, i}) {
        EXPECT_EQ(Of(strip[k].position), At(terrain.vertices, terrain, row, j));
        EXPECT_EQ((Triple{strip[k].normal[0], strip[k].normal[1], strip[k].normal[2]}),
                  At(terrain.normals, terrain, row, j));
        ++k;
      }
      // The mean of the four cells around sample (i + 1, j + 1), not normalised again.
      const Vec3 a = Cell(terrain, i, j + 1), b = Cell(terrain, i, j), c = Cell(terrain, i + 1, j),
                 d = Cell(terrain, i + 1, j + 1);
      EXPECT_EQ(At(terrain.normals, terrain, i, j),
                (Triple{0.25 * (a.x + b.x + c.x + d.x), 0.25 * (a.y + b.y + c.y + d.y), 0.25 * (a.z + b.z + c.z + d.z)}));
      tilted = tilted || b.y < 0.999;
    }
  }
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
  ASSERT_EQ(recgl::Primitives().size(), 5u);
  for (const GlPrimitive& strip : recgl::Primitives()) {
    ASSERT_EQ(strip.vertices.size(), 6u * 2u);
    for (const GlVertex& v : strip.vertices) {
      EXPECT_EQ((Triple{v.normal[0], v.normal[1], v.normal[2]}), (Triple{0, 1, 0}));
      EXPECT_EQ(v.position.y, 1.0);
    }
  }
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
  std::vector<Terrain> cases(13);
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
  // The same along z, and boxes inverted by less than the margin.
  cases[9].bounds = Ground(0, 0, 100, nan);
  cases[10].bounds = Ground(0, -1.7e308, 100, 1.7e308);
  cases[11].bounds = Ground(0, 100, 100, 0);
  cases[12].bounds = Ground(100, 0, 0, 100);
  for (Terrain& t : cases) {
    recgl::Reset();
    t.Draw();
    // The state is set for the frame all the same.
    const GlState& s = recgl::State();
    EXPECT_TRUE(s.IsOn(GL_DEPTH_TEST) && s.IsOn(GL_LIGHTING) && s.IsOn(GL_LIGHT0));
    EXPECT_TRUE(recgl::Primitives().empty());
    EXPECT_EQ(t.columns, 0);
  }

  // Past 2^31 units of 80 on both axes.
  recgl::Reset();
  terrain.bounds = Ground(1e12, -3e11, 1e12 + 100, -3e11 + 100);
  terrain.Draw();
  EXPECT_EQ(At(terrain.vertices, terrain, 0, 0), (Triple{999999999840.0, terrain.vertices[1], -300000000160.0}));
  EXPECT_EQ(terrain.columns, 6);
  EXPECT_EQ(terrain.rows, 6);
  EXPECT_EQ(recgl::Primitives().size(), 3u);
  // Past 2^63 the margin vanishes in rounding and one sample is left.
  terrain.bounds = Ground(1e30, -1e30, 1e30, -1e30);
  ASSERT_TRUE(BuildGrid(terrain));
  EXPECT_EQ(terrain.columns * (terrain.rows + 1), 1);
}

TEST_F(TerrainTest, EmptyBoxTouchesNothingAndArraysKeepTheirCapacity) {
  terrain.bounds = Ground(0, 0, 100, 100);
  terrain.Draw();
  const std::vector<double> grid = terrain.vertices;
  recgl::Reset();
  SetEmpty(terrain.bounds);
  terrain.Draw();
  EXPECT_TRUE(recgl::Calls().empty());
  EXPECT_FALSE(BuildGrid(terrain));
  EXPECT_EQ(terrain.columns, 6);
  EXPECT_EQ(terrain.rows, 5);
  EXPECT_TRUE(terrain.vertices == grid);

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

TEST_F(TerrainTest, AGridThatCannotBeStoredIsSkippedForOneFrame) {
  Terrain reference;
  reference.bounds = Ground(-500, -300, 500, 300);
  ASSERT_TRUE(BuildGrid(reference));
  // Each allocation of a first frame fails in turn: the arrays', the scratch's, and none.
  int skipped = 0;
  constexpr int kTries = 16;
  for (std::size_t n = 0; n < kTries; ++n) {
    SCOPED_TRACE(n);
    Terrain fresh;
    fresh.bounds = reference.bounds;
    recgl::Reset();
    recgl::SetRecording(false);  // the recording allocates too
    bool thrown = false;
    alloccount::FailAfter(n);
    try {
      fresh.Draw();
    } catch (...) {
      thrown = true;
    }
    alloccount::FailNone();
    EXPECT_FALSE(thrown);
    if (fresh.columns == 0) {
      ++skipped;
      EXPECT_EQ(fresh.rows, 0);
    } else {
      EXPECT_TRUE(fresh.vertices == reference.vertices);
    }
    // The frame's state is set all the same, and the next frame has its grid again.
    const GlState& s = recgl::State();
    EXPECT_TRUE(s.IsOn(GL_DEPTH_TEST) && s.IsOn(GL_LIGHTING) && s.IsOn(GL_LIGHT0));
    ASSERT_TRUE(BuildGrid(fresh));
    EXPECT_TRUE(fresh.vertices == reference.vertices);
    EXPECT_TRUE(fresh.normals == reference.normals);
  }
  EXPECT_GE(skipped, 2);
  EXPECT_LT(skipped, kTries);
}

}  // namespace

}  // namespace vellumor

// The fast grid against the direct evaluation (TerrainHeight per sample,
// FaceNormal per face): the same bits for every vertex and every drawn normal,
// as CompareGrids judges them.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <thread>

#include "terrain/height.h"
#include "terrain/terrain.h"
#include "testing/allocation_counter.h"
#include "testing/plain_grid.h"
#include "testing/reference_height.h"
#include "view/camera.h"

namespace vellumor {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

BoundingBox Ground(double minX, double minZ, double maxX, double maxZ) { return {{minX, -5, minZ}, {maxX, 7, maxZ}}; }

Terrain With(double unit, double octaves, double amp, double freq, double h, const BoundingBox& box) {
  Terrain t;
  t.unit = unit;
  t.octaves = octaves;
  t.amp = amp;
  t.freq = freq;
  t.h = h;
  t.bounds = box;
  return t;
}

// Returns how many heights were NaN, for the cases that mean to make some.
int ExpectSameGrid(const Terrain& params, const std::string& label) {
  const GridComparison c = CompareGrids(params);
  EXPECT_EQ(c.problem, "") << label;
  EXPECT_TRUE(c.built) << label;
  return c.nanHeights;
}

TEST(GridEquivalenceTest, RandomBoxesUnitsAndParameters) {
  std::mt19937_64 rng(7251);
  auto uniform = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  // Near the origin, on both sides of it, and far beyond 2^32 cells along either axis.
  const double centres[] = {0.0, 3e4, -7e5, 5e12, -4e13, 3e17};
  const double units[] = {80.0, 40.0, 20.0, 10.0, 160.0, 7.3};
  for (int n = 0; n < 240; ++n) {
    const double cx = centres[n % 6] + uniform(-5e3, 5e3);
    const double cz = centres[(n / 6) % 6] + uniform(-5e3, 5e3);
    const double unit = units[(n / 36) % 6];
    const double w = uniform(0, 30 * unit), d = uniform(0, 30 * unit);
    // Octaves 0 .. 6, some fractional and some below 1; about one in six runs past a block of eight.
    const double octaves = n % 6 == 5 ? uniform(9, 20) : std::floor(uniform(0, 7)) + (n % 2 ? uniform(0, 1) : 0);
    const double amp = uniform(-500, 500), h = uniform(-1.5, 1.5);
    const double freq = n % 10 == 0 ? 0.0 : uniform(-0.02, 0.02);
    const Terrain t = With(unit, octaves, amp, freq, h, Ground(cx - w, cz - d, cx + w, cz + d));
    ExpectSameGrid(t, "case " + std::to_string(n));
    if (HasFailure()) return;
  }
}

TEST(GridEquivalenceTest, DefaultViewAtEveryUsualUnit) {
  const Camera camera;
  for (double unit : {160.0, 80.0, 40.0, 20.0}) {
    ExpectSameGrid(With(unit, 2, 230, 0.0011, 0.5, camera.bounds), "unit " + std::to_string(unit));
  }
  Camera turned;  // looking down and sideways, from far away
  turned.position = {-3.3e6, 400, 9.1e6};
  turned.yaw = 2.2;
  turned.pitch = 0.4;
  turned.UpdateFrustum();
  for (double octaves : {1.0, 3.0, 6.0}) {
    ExpectSameGrid(With(80, octaves, -230, 0.0021, -0.7, turned.bounds), "turned, octaves " + std::to_string(octaves));
  }
}

TEST(GridEquivalenceTest, ExtremeParametersStillMatch) {
  const BoundingBox box = Ground(-1000, -700, 900, 1100);
  struct Case {
    double octaves, amp, freq, h;
    int nan;  // 1: some heights are NaN, 0: none, -1: either
  };
  const Case cases[] = {
      {2, 0, 0.0011, 0.5, 0},       {-3, 230, 0.0011, 0.5, 0},         {kNan, 230, 0.0011, 0.5, 0},
      {2, 230, -0.0011, 0.5, 0},    {5, 230, 0.0, -0.9, 0},            {4, 230, 1e3, 0.5, 0},
      {2, kNan, 0.0011, 0.5, 1},    {3, 230, 0.0011, kNan, 1},         {2, kInf, 0.0011, 0.5, -1},
      {12, 230, 0.0011, kInf, 1},   {12, 1e300, 0.0011, 1e10, 1},      {30, 230, 0.0011, 1.0, 0},
      {1500, 230, 0.0011, 0.5, 0},  {kInf, 230, 0.0011, -0.5, 0},      {3000, 230, 1e302, 0.5, 1},
      {kInf, 230, 0.0011, 0.9, 0},  {kInf, -40, 0.0011, -0.97, 0},
  };
  for (const Case& c : cases) {
    const std::string label = "octaves " + std::to_string(c.octaves) + " amp " + std::to_string(c.amp) + " freq " +
                              std::to_string(c.freq) + " h " + std::to_string(c.h);
    const int nans = ExpectSameGrid(With(80, c.octaves, c.amp, c.freq, c.h, box), label);
    if (c.nan >= 0) {
      EXPECT_EQ(nans > 0, c.nan == 1) << label;
    }
  }
}

// Every octave to the count, summed in order.
double EveryOctave(double x, double z, double octaves, double amp, double freq, double h) {
  return ReferenceTerrainHeight(x, z, octaves, amp, freq, h).height;
}

TEST(GridEquivalenceTest, UnboundedOctaveCountsEndWhereTheSumCannotChange) {
  // With |h| < 1 the amplitude soon falls below the sum's last place (with
  // |h| in (0.5, 1) it never reaches zero); an infinite count ends there with the same bits.
  for (double h : {0.5, -0.5, 0.9}) {
    for (double x : {-1234.5, 987.25, 4e12}) {
      const int enough = h == 0.9 ? 8000 : 1200;
      EXPECT_EQ(TerrainHeight(x, 77, kInf, 230, 0.0011, h), EveryOctave(x, 77, enough, 230, 0.0011, h));
    }
  }
  // Where a later octave's coordinates overflow, the sum goes on and turns NaN,
  // as every octave would make it; a count that stops short of that ends early.
  const double far = 1.5e304;  // octave 1199 overflows, the amplitude underflows at 1084
  EXPECT_TRUE(std::isnan(EveryOctave(far, 0, 1400, 230, 10, 0.5)));
  EXPECT_TRUE(std::isnan(TerrainHeight(far, 0, 1400, 230, 10, 0.5)));
  EXPECT_EQ(TerrainHeight(far, 0, 1150, 230, 10, 0.5), EveryOctave(far, 0, 1150, 230, 10, 0.5));
  EXPECT_TRUE(std::isfinite(TerrainHeight(far, 0, 1150, 230, 10, 0.5)));
}

// Found by the grid fuzzer. Where the noise coordinates overflow, every sum
// is NaN from the first octave on and no later octave can change one;
// TerrainHeight stops there sample by sample, but the fast grid went on,
// eight octaves at a time, to the end of the octave count, which for a count
// of 1e300 never comes. The build runs apart, watched by a thread that ends
// it after two minutes (Windows has no alarm), so that a regression fails
// instead of hanging the suite.
TEST(GridEquivalenceTest, SumsThatAreAllNaNEndTheOctavesAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const BoundingBox far = Ground(1e300, 0, 1e300, 100);
  const auto build = [&far] {
    std::thread([] {
      std::this_thread::sleep_for(std::chrono::seconds(120));
      std::_Exit(2);
    }).detach();
    Terrain t = With(80, 1e300, 230, 1e15, 0.5, far);
    const bool allNaN = BuildGrid(t) && std::isnan(t.vertices[1]) && std::isnan(t.vertices[t.vertices.size() - 2]);
    std::exit(allNaN ? 0 : 1);
  };
  EXPECT_EXIT(build(), testing::ExitedWithCode(0), "");
  // A count that ends gives the same grid both ways, NaN everywhere.
  EXPECT_GT(ExpectSameGrid(With(80, 3000, 230, 1e15, 0.5, far), "far, 3000 octaves"), 0);
}

// Found by the fuzzers: past a unit of about 1e154 (or with heights as far
// apart) a face's cross product overflows, and heights near the largest
// double differ by more than it; the normals came out NaN or zero. Both
// builds now take such faces apart the same way and agree.
TEST(GridEquivalenceTest, HugeUnitsAndHeightsStillGiveUnitNormals) {
  const Camera camera;
  const Terrain cases[] = {With(std::ldexp(80.0, 530), 2, 230, 0.0011, 0.5, camera.bounds),
                           With(80, 1, 1e300, 0.0011, 0.5, Ground(-1000, -700, 900, 1100)),
                           With(std::ldexp(80.0, 200), 2, 1e300, 1e-250, 0.5, camera.bounds),
                           // Heights from -0.42 to 0.9 times the largest double.
                           With(80, 1, 0.9 * std::numeric_limits<double>::max(), 0.5, 0.5,
                                Ground(-1000, -700, 900, 1100))};
  for (const Terrain& params : cases) {
    const std::string label = "unit " + std::to_string(params.unit) + " amp " + std::to_string(params.amp);
    // CompareGrids holds every drawn normal of finite samples to a mean of unit normals.
    const GridComparison c = CompareGrids(params);
    EXPECT_EQ(c.problem, "") << label;
    ASSERT_GE(c.fast.rows, 4) << label;  // some strips are drawn
    const std::size_t columns = static_cast<std::size_t>(c.fast.columns);
    for (std::size_t k = 1; k < c.fast.vertices.size(); k += 3) ASSERT_TRUE(std::isfinite(c.fast.vertices[k])) << label;
    // None is zero either. (Cliffs 1e300 high over a unit of 80 leave them all but level.)
    for (std::int32_t i = 1; i <= c.fast.rows - 2; ++i) {
      for (std::int32_t j = 1; j <= c.fast.columns - 3; ++j) {
        const double* n = &c.fast.normals[3 * (static_cast<std::size_t>(i) * columns + static_cast<std::size_t>(j))];
        ASSERT_TRUE(n[0] != 0.0 || n[1] != 0.0 || n[2] != 0.0) << label << ": normal (" << i << ", " << j << ")";
      }
    }
  }
}

TEST(GridEquivalenceTest, SteadyFramesAllocateNothingWhateverTheOctaves) {
  Terrain t = With(40, 20, 230, 0.0011, 0.5, Camera().bounds);
  ASSERT_TRUE(BuildGrid(t));
  const std::size_t before = alloccount::Count();
  for (double octaves : {2.0, 20.0, 0.0, 7.0}) {
    t.octaves = octaves;
    t.unit = octaves == 7.0 ? 80.0 : 40.0;
    ASSERT_TRUE(BuildGrid(t));
  }
  EXPECT_EQ(alloccount::Count(), before);
}

}  // namespace

}  // namespace vellumor

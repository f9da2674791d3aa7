#include "terrain/height.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>

namespace vellumor {

namespace {

constexpr double kPi = std::numbers::pi;

// Straight from the definition, without a cache; valid while cells fit in 32 bits.
double RefLattice(std::uint64_t n) {
  const std::uint64_t m = (n ^ (n << 13)) & 0xFFFFFFFF;
  return 1 - static_cast<double>(((((m * m) & 0xFFFFFFFF) * 19417 + 189851) * m - 3421365) & 0x4B746F) / 3354521;
}

double RefNoise(double x, double z) {
  const auto ix = static_cast<std::int64_t>(std::floor(x)), iz = static_cast<std::int64_t>(std::floor(z));
  const auto n = static_cast<std::uint64_t>(ix + 57 * iz);
  const double sx = (1 - std::cos((x - ix) * kPi)) * 0.5, sz = (1 - std::cos((z - iz) * kPi)) * 0.5;
  return ((1 - sx) * RefLattice(n) + sx * RefLattice(n + 1)) * (1 - sz) +
         sz * ((1 - sx) * RefLattice(n + 57) + sx * RefLattice(n + 58));
}

double RefHeight(double x, double z, double octaves, double amp, double freq, double h) {
  double acc = 1.0;
  for (int k = 1; octaves >= k; ++k, amp *= h) acc += amp * RefNoise(k * (x * freq), k * (z * freq));
  return acc;
}

double DefaultHeight(double x, double z) { return TerrainHeight(x, z, 2, 230, 0.0011, 0.5); }

TEST(HeightTest, KnownValues) {
  EXPECT_EQ(LatticeValue(0), 1 - 4931659.0 / 3354521);
  EXPECT_EQ(LatticeValue(1), 1 - 4404271.0 / 3354521);
  EXPECT_EQ(LatticeValue(58), 1 - 4871233.0 / 3354521);
  EXPECT_EQ(LatticeValue(0xFFFFFFFFu), 1 - 4804679.0 / 3354521);
  EXPECT_EQ(SmoothNoise(0, 0), LatticeValue(0));
  // The cosine weight at 0.5 is one ulp below 0.5, so this is next to, not on, the corners' mean.
  EXPECT_NEAR(SmoothNoise(0.5, 0.5), (LatticeValue(0) + LatticeValue(1) + LatticeValue(57) + LatticeValue(58)) / 4, 1e-15);
  const double s = (1 - std::cos(0.75 * kPi)) * 0.5;  // -0.25 lies in cell -1
  EXPECT_EQ(SmoothNoise(-0.25, 0), (1 - s) * LatticeValue(0xFFFFFFFFu) + s * LatticeValue(0));
  EXPECT_EQ(DefaultHeight(0, 0), 1 + 230 * LatticeValue(0) + 115 * LatticeValue(0));
  EXPECT_NEAR(DefaultHeight(1000, -2000), 320.3747, 1e-4);
}

TEST(HeightTest, OnlyWholeOctavesFromOneCount) {
  for (double octaves : {2.5, 2.9999}) {
    EXPECT_EQ(TerrainHeight(1000, -2000, octaves, 230, 0.0011, 0.5), DefaultHeight(1000, -2000));
  }
  EXPECT_NE(TerrainHeight(1000, -2000, 3, 230, 0.0011, 0.5), DefaultHeight(1000, -2000));
  for (double octaves : {0.999, -3.0, double(NAN)}) {
    EXPECT_EQ(TerrainHeight(1234, -567, octaves, 230, 0.0011, 0.5), 1.0);
  }
}

TEST(HeightTest, MatchesReferenceInAnyCallOrder) {
  std::mt19937_64 rng(20240611);
  auto uniform = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int i = 0; i < 20000; ++i) {
    const double x = uniform(-1e6, 1e6), z = uniform(-1e6, 1e6), o = uniform(-1, 6);
    const double a = uniform(-500, 500), f = uniform(-0.5, 0.5), h = uniform(-1.5, 1.5);
    // The neighbour often shares cells with the previous call, where a stale cache would show.
    for (double dx : {0.0, 1.0}) ASSERT_EQ(TerrainHeight(x + dx, z, o, a, f, h), RefHeight(x + dx, z, o, a, f, h));
  }
}

TEST(HeightTest, FirstCallComputesItsCorners) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: its first call
  for (double c : {-0.5, 0.5}) {
    EXPECT_EXIT(std::exit(SmoothNoise(c, c) == RefNoise(c, c) ? 0 : 1), testing::ExitedWithCode(0), "");
  }
}

TEST(HeightTest, CellsBeyond32BitsWrapAndNanStaysNan) {
  const double wrap = 4294967296.0;
  EXPECT_EQ(SmoothNoise(0.25 + 3 * wrap, -0.75 - 2 * wrap), SmoothNoise(0.25, -0.75));
  EXPECT_EQ(SmoothNoise(2147483648.5, 7.5), SmoothNoise(-2147483647.5, 7.5));
  for (double x : {1e12, -3.7e15, -1.7e308}) {
    const double first = DefaultHeight(x, -x);
    DefaultHeight(5, 5);
    EXPECT_TRUE(std::isfinite(first));
    EXPECT_EQ(DefaultHeight(x, -x), first);
  }
  EXPECT_TRUE(std::isnan(SmoothNoise(NAN, 0)));
  EXPECT_TRUE(std::isnan(DefaultHeight(0, NAN)));
}

}  // namespace

}  // namespace vellumor

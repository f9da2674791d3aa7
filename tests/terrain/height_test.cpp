#include "terrain/height.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "testing/reference_height.h"

namespace vellumor {

namespace {

constexpr double kPi = std::numbers::pi;

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

TEST(HeightTest, MatchesItsDefinition) {
  std::mt19937_64 rng(20240611);
  auto uniform = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  for (int i = 0; i < 20000; ++i) {
    const double x = uniform(-1e6, 1e6), z = uniform(-1e6, 1e6), o = uniform(-1, 6);
    const double a = uniform(-500, 500), f = uniform(-0.5, 0.5), h = uniform(-1.5, 1.5);
    ASSERT_EQ(TerrainHeight(x, z, o, a, f, h), ReferenceTerrainHeight(x, z, o, a, f, h).height);
  }
}

TEST(HeightTest, CellsBeyond32BitsWrapAndNanStaysNan) {
  const double wrap = 4294967296.0;
  EXPECT_EQ(SmoothNoise(0.25 + 3 * wrap, -0.75 - 2 * wrap), SmoothNoise(0.25, -0.75));
  EXPECT_EQ(SmoothNoise(2147483648.5, 7.5), SmoothNoise(-2147483647.5, 7.5));
  for (double x : {1e12, -3.7e15, -1.7e308}) EXPECT_TRUE(std::isfinite(DefaultHeight(x, -x)));
  EXPECT_TRUE(std::isnan(SmoothNoise(NAN, 0)));
  EXPECT_TRUE(std::isnan(DefaultHeight(0, NAN)));
}

}  // namespace

}  // namespace vellumor

#include "terrain/height.h"

#include <cmath>

#include "terrain/lattice.h"

namespace vellumor {

namespace {

// The corners of the most recent cell. A result never depends on it: the
// values are a pure function of the cell, and the flag keeps the first call honest.
struct CornerCache {
  bool valid = false;
  std::uint32_t ix = 0;
  std::uint32_t iz = 0;
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
  double d = 0.0;
};

CornerCache cache;

}  // namespace

std::uint32_t WrappedFarCell(double floored) {
  constexpr double kTwoTo32 = 4294967296.0;
  double r = std::fmod(floored, kTwoTo32);  // exact for integers
  // NaN and infinity have no cell; they go to cell 0 and their fraction keeps them NaN.
  if (std::isnan(r)) {
    return 0;
  }
  if (r < 0.0) {
    r += kTwoTo32;  // exact: an integer in (0, 2^32)
  }
  return static_cast<std::uint32_t>(r);
}

double SmoothNoise(double x, double z) {
  const double floorX = std::floor(x);
  const double floorZ = std::floor(z);
  const std::uint32_t ix = WrappedCell(floorX);
  const std::uint32_t iz = WrappedCell(floorZ);
  if (!cache.valid || cache.ix != ix || cache.iz != iz) {
    const std::uint32_t n = ix + 57u * iz;
    cache.a = LatticeValue(n);
    cache.b = LatticeValue(n + 1u);
    cache.c = LatticeValue(n + 57u);
    cache.d = LatticeValue(n + 58u);
    cache.ix = ix;
    cache.iz = iz;
    cache.valid = true;
  }
  // Equal to x - ix wherever the cell fits in 32 bits.
  const double sx = CosineWeight(x - floorX);
  const double sz = CosineWeight(z - floorZ);
  return ((1.0 - sx) * cache.a + sx * cache.b) * (1.0 - sz) + sz * ((1.0 - sx) * cache.c + sx * cache.d);
}

double TerrainHeight(double x, double z, double octaves, double amp, double freq, double h) {
  const double xf = x * freq;
  const double zf = z * freq;
  const OctaveReach reach{octaves, h, std::fabs(xf), std::fabs(zf)};
  // The sum starts at one; octave k samples at k times the base frequency. A
  // large octave count ends as soon as the rest cannot change the sum.
  double acc = 1.0;
  double a = amp;
  for (double k = 1.0; octaves >= k && !OctavesSettled(acc, a, reach); k += 1.0) {
    acc = acc + a * SmoothNoise(k * xf, k * zf);
    a = a * h;
  }
  return acc;
}

}  // namespace vellumor

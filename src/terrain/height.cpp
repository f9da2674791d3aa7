#include "terrain/height.h"

#include <cmath>

#include "terrain/lattice.h"

namespace vellumor {

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
  // The corners are hashed afresh each call. A cache of the last cell's
  // corners paid off only with one octave; with more, consecutive calls
  // alternate between the octaves' cells and it cost more than it saved. (The
  // grid shares its corner values along rows and columns on its own.)
  const std::uint32_t n = WrappedCell(floorX) + 57u * WrappedCell(floorZ);
  const double a = LatticeValue(n);
  const double b = LatticeValue(n + 1u);
  const double c = LatticeValue(n + 57u);
  const double d = LatticeValue(n + 58u);
  // Equal to x - ix wherever the cell fits in 32 bits.
  const double sx = CosineWeight(x - floorX);
  const double sz = CosineWeight(z - floorZ);
  return ((1.0 - sx) * a + sx * b) * (1.0 - sz) + sz * ((1.0 - sx) * c + sx * d);
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

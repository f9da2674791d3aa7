#include "terrain/height.h"

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoTo32 = 4294967296.0;

// The hash wraps modulo 2^32 throughout, so it runs on unsigned values.
double LatticeValueWrapped(std::uint32_t n) {
  const std::uint32_t m = n ^ (n << 13);
  std::uint32_t t = m * m;
  t = t * 19417u;
  t = t + 189851u;
  t = t * m;
  t = t - 3421365u;
  t = t & 0x4B746Fu;
  return 1.0 - static_cast<double>(t) / 3354521.0;
}

// The cell index of an already floored coordinate, wrapped modulo 2^32 like the
// hash itself, so that far-away points still get a defined, repeatable height.
// Inside the 32-bit range this is the plain integer conversion. NaN and
// infinity have no cell; they go to cell 0 and their fraction keeps them NaN.
std::uint32_t WrappedCell(double floored) {
  if (floored >= -2147483648.0 && floored <= 2147483647.0) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(floored));
  }
  double r = std::fmod(floored, kTwoTo32);  // exact for integers
  if (std::isnan(r)) {
    return 0;
  }
  if (r < 0.0) {
    r += kTwoTo32;  // exact: an integer in (0, 2^32)
  }
  return static_cast<std::uint32_t>(r);
}

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

double LatticeValue(std::int32_t n) { return LatticeValueWrapped(static_cast<std::uint32_t>(n)); }

double SmoothNoise(double x, double z) {
  const double floorX = std::floor(x);
  const double floorZ = std::floor(z);
  const std::uint32_t ix = WrappedCell(floorX);
  const std::uint32_t iz = WrappedCell(floorZ);
  if (!cache.valid || cache.ix != ix || cache.iz != iz) {
    const std::uint32_t n = ix + 57u * iz;
    cache.a = LatticeValueWrapped(n);
    cache.b = LatticeValueWrapped(n + 1u);
    cache.c = LatticeValueWrapped(n + 57u);
    cache.d = LatticeValueWrapped(n + 58u);
    cache.ix = ix;
    cache.iz = iz;
    cache.valid = true;
  }
  // Equal to x - ix wherever the cell fits in 32 bits.
  const double fx = x - floorX;
  const double fz = z - floorZ;
  const double sx = (1.0 - std::cos(fx * kPi)) * 0.5;
  const double sz = (1.0 - std::cos(fz * kPi)) * 0.5;
  return ((1.0 - sx) * cache.a + sx * cache.b) * (1.0 - sz) + sz * ((1.0 - sx) * cache.c + sx * cache.d);
}

double TerrainHeight(double x, double z, double octaves, double amp, double freq, double h) {
  const double xf = x * freq;
  const double zf = z * freq;
  // The sum starts at one; octave k samples at k times the base frequency.
  double acc = 1.0;
  double a = amp;
  for (double k = 1.0; octaves >= k; k += 1.0) {
    acc = acc + a * SmoothNoise(k * xf, k * zf);
    a = a * h;
  }
  return acc;
}

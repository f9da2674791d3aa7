#include "testing/reference_height.h"

#include <cmath>
#include <numbers>

#include "terrain/lattice.h"

namespace vellumor {

double ReferenceLattice(std::uint32_t n) {
  const std::uint64_t m = (n ^ (std::uint64_t{n} << 13)) & 0xFFFFFFFFu;
  const std::uint64_t t = ((((m * m) & 0xFFFFFFFFu) * 19417 + 189851) * m - 3421365) & 0x4B746F;
  return 1.0 - static_cast<double>(t) / 3354521.0;
}

std::uint32_t ReferenceCell(double floored) {
  constexpr double kTwoTo32 = 4294967296.0;
  if (!std::isfinite(floored)) return 0;
  // Subtracting the multiple of 2^32 below is exact for any integer value of a double.
  return static_cast<std::uint32_t>(floored - kTwoTo32 * std::floor(floored / kTwoTo32));
}

double ReferenceNoise(double x, double z) {
  const double fx = std::floor(x);
  const double fz = std::floor(z);
  const std::uint32_t n = ReferenceCell(fx) + 57u * ReferenceCell(fz);
  const double sx = (1.0 - std::cos((x - fx) * std::numbers::pi)) * 0.5;
  const double sz = (1.0 - std::cos((z - fz) * std::numbers::pi)) * 0.5;
  return ((1.0 - sx) * ReferenceLattice(n) + sx * ReferenceLattice(n + 1u)) * (1.0 - sz) +
         sz * ((1.0 - sx) * ReferenceLattice(n + 57u) + sx * ReferenceLattice(n + 58u));
}

ReferenceHeight ReferenceTerrainHeight(double x, double z, double octaves, double amp, double freq, double h) {
  ReferenceHeight r;
  const double xf = x * freq;
  const double zf = z * freq;
  const double last = LastOctave(octaves);
  const bool laterCoordinatesFinite = std::isfinite(last * std::fabs(xf)) && std::isfinite(last * std::fabs(zf));
  double a = amp;
  for (double k = 1.0; k <= last; k += 1.0) {
    const double kx = k * xf;
    const double kz = k * zf;
    r.nonFiniteTerm = r.nonFiniteTerm || !std::isfinite(a) || !std::isfinite(kx) || !std::isfinite(kz);
    r.height = r.height + a * ReferenceNoise(kx, kz);
    a = a * h;
    if (std::isnan(r.height)) break;
    if (a == 0.0 && std::isfinite(h) && laterCoordinatesFinite) break;
  }
  return r;
}

}  // namespace vellumor

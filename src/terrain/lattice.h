#pragma once
// The pieces of the value noise that the height function and the grid sampler
// share, inline, so that both evaluate the very same expressions and agree to
// the last bit.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace vellumor {

// Value of lattice point n = ix + 57 * iz. The hash wraps modulo 2^32
// throughout, so it runs on unsigned values.
inline double LatticeValue(std::uint32_t n) {
  const std::uint32_t m = n ^ (n << 13);
  std::uint32_t t = m * m;
  t = t * 19417u;
  t = t + 189851u;
  t = t * m;
  t = t - 3421365u;
  t = t & 0x4B746Fu;
  return 1.0 - static_cast<double>(t) / 3354521.0;
}

// WrappedCell for values outside the 32-bit range, NaN and infinities.
std::uint32_t WrappedFarCell(double floored);

// The cell index of an already floored coordinate, wrapped modulo 2^32 like
// the hash itself, so that far-away points still get a defined, repeatable
// height. Inside the 32-bit range this is the plain integer conversion.
inline std::uint32_t WrappedCell(double floored) {
  if (floored >= -2147483648.0 && floored <= 2147483647.0) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(floored));
  }
  return WrappedFarCell(floored);
}

// The cosine interpolation weight of a fraction in [0, 1).
inline double CosineWeight(double fraction) { return (1.0 - std::cos(fraction * std::numbers::pi)) * 0.5; }

// The highest octave number the octave loop reaches: k counts up in doubles
// from 1 and stops growing at 2^53, where k + 1 rounds back to k.
inline double LastOctave(double octaves) {
  return octaves >= 1.0 ? std::min(std::floor(octaves), 9007199254740992.0) : 0.0;
}

// What the end of an octave sum depends on besides the sum: the octave count,
// h, and the largest |x * freq| and |z * freq| among the points summed.
struct OctaveReach {
  double octaves = 0.0;
  double h = 0.0;
  double largestXf = 0.0;
  double largestZf = 0.0;
};

// Whether no further octave can change a sum of octaves, a being the next
// one's amplitude, so that ending the sum there gives the bits that summing
// every octave to the count gives. A NaN sum stays NaN. Otherwise every later
// octave must sample finite coordinates (the last one's are the largest), or
// its noise is NaN. Then either the amplitude is exactly zero and stays so
// (h finite): each octave adds a signed zero to a sum that is never -0; or
// |h| <= 1, so no later amplitude is larger than a, and |a| is below an
// eighth of the sum's last place, so each term (|a| times a noise value below
// 2 in size) stays below a quarter of it and rounds away, even where the sum
// sits on a power of two. With |h| in (0.5, 1) the amplitude never reaches
// zero: it stops at a subnormal that h rounds back to itself; the second
// test ends the sum long before. For many sums at once, sum is the smallest
// in magnitude that is not NaN, or NaN when every one is: what settles it
// settles them all.
inline bool OctavesSettled(double sum, double a, const OctaveReach& reach) {
  if (std::isnan(sum)) {
    return true;
  }
  // |sum| * 2^-53 is at most its last place.
  if (!(a == 0.0 || std::fabs(a) < std::fabs(sum) * 0x1p-56)) {
    return false;  // the common case, decided without the tests below
  }
  const double last = LastOctave(reach.octaves);
  if (!(std::isfinite(reach.h) && std::isfinite(last * reach.largestXf) && std::isfinite(last * reach.largestZf))) {
    return false;
  }
  // 2^-900 keeps the scaling above exact.
  return a == 0.0 || (std::fabs(reach.h) <= 1.0 && std::fabs(sum) >= 0x1p-900);
}

}  // namespace vellumor

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

// True when no later octave can change the sum acc, a being the amplitude of
// the next octave. Every later octave must sample finite coordinates (the
// last one's are the largest), or its noise is NaN. Then either the
// amplitude is exactly zero and stays so (h finite): each octave adds a
// signed zero to a sum that is never -0; or |h| <= 1, so no later amplitude
// is larger than a, and |a| is below an eighth of the sum's last place, so
// each term (|a| times a noise value below 2 in size) stays below a quarter
// of it and rounds away, even where the sum sits on a power of two. With
// |h| in (0.5, 1) the amplitude never reaches zero: it stops at a subnormal
// that h rounds back to itself; the second test ends the sum long before.
inline bool SumSettled(double acc, double a, double h, double octaves, double largestXf, double largestZf) {
  const double last = LastOctave(octaves);
  if (!(std::isfinite(h) && std::isfinite(last * largestXf) && std::isfinite(last * largestZf))) {
    return false;
  }
  if (a == 0.0) {
    return true;
  }
  // |acc| * 2^-53 is at most its last place; 2^-900 keeps the scaling exact.
  return std::fabs(h) <= 1.0 && std::fabs(acc) >= 0x1p-900 && std::fabs(a) < std::fabs(acc) * 0x1p-56;
}

}  // namespace vellumor

#pragma once
// How many octaves the fuzzers let the height function sum. It sums every
// octave it is asked for until no further one can change the result, and the
// keys can ask only for as many as they are pressed; a count of billions
// with an amplitude that never settles would take hours per input. So a
// count above kMaxOctaves is kept only where the sum provably ends within a
// few thousand octaves: a finite amplitude and |h| <= 1/2, which make the
// amplitude zero within about 2,100 octaves, and noise coordinates that stay
// finite through the last octave (so the zero amplitudes settle the sum) or
// overflow within kMaxOctaves (so the sum turns NaN there and ends). Other
// counts are reduced to their remainder modulo kMaxOctaves.

#include <cmath>

#include "terrain/lattice.h"

namespace vellumor::fuzz {

inline constexpr double kMaxOctaves = 4096.0;

// How far out a point's noise coordinates reach: the larger of |x * freq|
// and |z * freq|, or NaN when either is NaN (its sum is NaN from octave 1).
inline double Reach(double xf, double zf) {
  return std::isnan(xf) || std::isnan(zf) ? xf + zf : std::fmax(std::fabs(xf), std::fabs(zf));
}

// smallestReach, largestReach: the least and the greatest Reach of the points
// to be summed, NaN ones left out. Coordinates that reach 2^960 at most stay
// finite through octave 2^53; from 2^1012 on they overflow by octave 4096.
inline bool EndsSoon(double amp, double h, double smallestReach, double largestReach) {
  return std::isfinite(amp) && std::fabs(h) <= 0.5 && (largestReach < 0x1p960 || smallestReach > 0x1p1012);
}

inline double AffordableOctaves(double octaves, double amp, double h, double smallestReach, double largestReach) {
  if (LastOctave(octaves) <= kMaxOctaves || EndsSoon(amp, h, smallestReach, largestReach)) return octaves;
  return std::isfinite(octaves) ? std::fmod(octaves, kMaxOctaves) : kMaxOctaves;
}

// How many octaves a sum with this (affordable) count takes at most: the
// whole count up to kMaxOctaves; for a count kept above that, until the
// amplitude has shrunk to zero (a few more for the rounding on the way).
inline double OctavesSummed(double octaves, double amp, double h) {
  const double last = LastOctave(octaves);
  if (last <= kMaxOctaves) return last;
  const double toZero = (std::log2(std::fabs(amp)) + 1080.0) / -std::log2(std::fabs(h));
  return std::fmin(last, std::fmax(1.0, std::ceil(toZero) + 1.0));
}

}  // namespace vellumor::fuzz

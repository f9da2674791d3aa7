#pragma once
// The height function straight from its definition, written apart from the
// terrain's own: the lattice hash on 64-bit values, the noise computed afresh
// from the hash at every call, every octave summed in order. The tests and
// the fuzzers hold LatticeValue, SmoothNoise and TerrainHeight against it.

#include <cstdint>

namespace vellumor {

double ReferenceLattice(std::uint32_t n);

// The cell of a floored coordinate modulo 2^32, as the hash wraps its
// integers; 0 for NaN and infinities, whose fraction makes the noise NaN.
std::uint32_t ReferenceCell(double floored);

double ReferenceNoise(double x, double z);

struct ReferenceHeight {
  double height = 1.0;
  // Some summed octave has an amplitude or a noise coordinate that is not finite.
  bool nonFiniteTerm = false;
};

// Octaves 1 to the whole part of octaves, each added in turn. The loop stops
// early only where nothing can change: once the sum is NaN, and once the
// amplitude is exactly zero with h finite and every later coordinate finite
// (each octave then adds a zero to a sum that is never -0).
ReferenceHeight ReferenceTerrainHeight(double x, double z, double octaves, double amp, double freq, double h);

}  // namespace vellumor

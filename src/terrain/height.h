#pragma once
// The fractal height function: octaves of a cosine-interpolated value noise
// over an integer-hashed lattice. No table, no seed, no stored terrain.

#include <cstdint>

#include "terrain/lattice.h"

namespace vellumor {

// Value noise at (x, z): continuous, equal to the lattice value at integer points.
double SmoothNoise(double x, double z);
// Height of the ground at (x, z) in world units.
double TerrainHeight(double x, double z, double octaves, double amp, double freq, double h);

}  // namespace vellumor

#pragma once
// The unit normal of a grid face from its two edges, the same way in the
// plain evaluation (Terrain::FaceNormal) and in the grid sampler.

#include <cfloat>

#include "geometry/vec3.h"

namespace vellumor {

// Whether a cross product whose squared length is this normalises the
// direct way (Normalized) without overflow or underflow on the way.
inline bool NormalisesDirectly(double squaredLength) {
  return squaredLength >= DBL_MIN && squaredLength <= DBL_MAX;
}

// The normalised cross product a x b where the direct way overflows or
// underflows: a unit past about 1e77, or heights as far apart, square past
// the largest double, or nearly parallel edges (cliffs far steeper than a
// unit is long) give one too small to square. Each edge, and then their
// cross product, is scaled by a power of two to a largest component in
// [1, 2), which turns no direction. Edges that are not finite, or zero,
// give what the direct way gives.
Vec3 ScaledFaceNormal(const Vec3& a, const Vec3& b);

}  // namespace vellumor

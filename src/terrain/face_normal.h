#pragma once
// The unit normal of a grid face, the same way in the plain evaluation
// (Terrain::FaceNormal) and in the grid sampler.

#include <cfloat>

#include "geometry/vec3.h"

namespace vellumor {

// Whether a cross product whose squared length is this normalises the
// direct way (Normalized) without overflow or underflow on the way.
inline bool NormalisesDirectly(double squaredLength) {
  return squaredLength >= DBL_MIN && squaredLength <= DBL_MAX;
}

// The normalised cross product (A - P) x (B - P) of the face at sample P,
// A the next row's sample and B the next column's, where the direct way
// overflows or underflows: a unit past about 1e77, or heights as far apart,
// square past the largest double; heights near it differ by more than it;
// cliffs far steeper than a unit is long give a cross product too small to
// square. The edges are taken between halved points where they overflow;
// each edge, and then the cross product, is scaled by a power of two to a
// largest component in [1, 2). None of this turns a direction. Points that
// are not finite, or a zero edge, give what the direct way gives.
Vec3 ScaledFaceNormal(const Vec3& p, const Vec3& a, const Vec3& b);

}  // namespace vellumor

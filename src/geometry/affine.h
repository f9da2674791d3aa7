#pragma once
// Affine transforms laid out as OpenGL lays out its matrices, without the last row:
// m[0..2], m[3..5], m[6..8] are the images of the x, y and z axes, m[9..11] the translation.

#include <span>

#include "geometry/vec3.h"

namespace vellumor {

struct AffineMatrix {
  double m[12] = {};
};

AffineMatrix Identity();
AffineMatrix RotationX(double angle);  // right-handed, radians
AffineMatrix RotationY(double angle);  // right-handed, radians
// a * b: applies b first, then a.
AffineMatrix Compose(const AffineMatrix& a, const AffineMatrix& b);
Vec3 Apply(const AffineMatrix& m, const Vec3& p);
void TransformPoints(const AffineMatrix& m, std::span<Vec3> points);

}  // namespace vellumor

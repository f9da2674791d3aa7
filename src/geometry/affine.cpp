#include "geometry/affine.h"

#include <cmath>

namespace vellumor {

AffineMatrix Identity() {
  AffineMatrix r;
  r.m[0] = 1.0;
  r.m[4] = 1.0;
  r.m[8] = 1.0;
  return r;
}

AffineMatrix RotationX(double angle) {
  const double s = std::sin(angle);
  const double c = std::cos(angle);
  AffineMatrix r;
  r.m[0] = 1.0;
  r.m[4] = c;
  r.m[5] = s;
  r.m[7] = -s;
  r.m[8] = c;
  return r;
}

AffineMatrix RotationY(double angle) {
  const double s = std::sin(angle);
  const double c = std::cos(angle);
  AffineMatrix r;
  r.m[0] = c;
  r.m[2] = -s;
  r.m[4] = 1.0;
  r.m[6] = s;
  r.m[8] = c;
  return r;
}

AffineMatrix Compose(const AffineMatrix& a, const AffineMatrix& b) {
  AffineMatrix c;
  for (int j = 0; j < 3; ++j) {
    for (int r = 0; r < 3; ++r) {
      c.m[3 * j + r] = a.m[r] * b.m[3 * j] + a.m[3 + r] * b.m[3 * j + 1] + a.m[6 + r] * b.m[3 * j + 2];
    }
  }
  for (int r = 0; r < 3; ++r) {
    c.m[9 + r] = a.m[r] * b.m[9] + a.m[3 + r] * b.m[10] + a.m[6 + r] * b.m[11] + a.m[9 + r];
  }
  return c;
}

Vec3 Apply(const AffineMatrix& m, const Vec3& p) {
  return {m.m[0] * p.x + m.m[3] * p.y + m.m[6] * p.z + m.m[9],
          m.m[1] * p.x + m.m[4] * p.y + m.m[7] * p.z + m.m[10],
          m.m[2] * p.x + m.m[5] * p.y + m.m[8] * p.z + m.m[11]};
}

void TransformPoints(const AffineMatrix& m, std::span<Vec3> points) {
  for (Vec3& p : points) {
    p = Apply(m, p);  // all three read from the old point before any is stored
  }
}

}  // namespace vellumor

#include "terrain/face_normal.h"

#include <cmath>

namespace vellumor {

namespace {

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Largest(const Vec3& v) { return std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z))); }

Vec3 ScaledToUnitSize(const Vec3& v) {
  const int exponent = std::ilogb(Largest(v));
  return {std::ldexp(v.x, -exponent), std::ldexp(v.y, -exponent), std::ldexp(v.z, -exponent)};
}

bool Finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

Vec3 ScaledFaceNormal(const Vec3& a, const Vec3& b) {
  if (!(Finite(a) && Finite(b) && Largest(a) > 0.0 && Largest(b) > 0.0)) {
    return Normalized(Cross(a, b));
  }
  // Nearly parallel edges (cliffs far steeper than a unit is long) leave a
  // cross product too small to square; it is scaled the same way.
  const Vec3 cross = Cross(ScaledToUnitSize(a), ScaledToUnitSize(b));
  return Largest(cross) > 0.0 ? Normalized(ScaledToUnitSize(cross)) : cross;
}

}  // namespace vellumor

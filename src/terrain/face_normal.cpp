#include "terrain/face_normal.h"

#include <cmath>

namespace vellumor {

namespace {

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

bool Finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

double Largest(const Vec3& v) { return std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z))); }

Vec3 ScaledToUnitSize(const Vec3& v) {
  const int exponent = std::ilogb(Largest(v));
  return {std::ldexp(v.x, -exponent), std::ldexp(v.y, -exponent), std::ldexp(v.z, -exponent)};
}

// to - from, or half of it where the whole overflows: the same direction.
Vec3 Edge(const Vec3& from, const Vec3& to) {
  const Vec3 whole{to.x - from.x, to.y - from.y, to.z - from.z};
  if (Finite(whole)) return whole;
  return {0.5 * to.x - 0.5 * from.x, 0.5 * to.y - 0.5 * from.y, 0.5 * to.z - 0.5 * from.z};
}

}  // namespace

Vec3 ScaledFaceNormal(const Vec3& p, const Vec3& a, const Vec3& b) {
  if (!(Finite(p) && Finite(a) && Finite(b))) {
    return Normalized(Cross({a.x - p.x, a.y - p.y, a.z - p.z}, {b.x - p.x, b.y - p.y, b.z - p.z}));
  }
  const Vec3 ea = Edge(p, a);
  const Vec3 eb = Edge(p, b);
  if (!(Largest(ea) > 0.0 && Largest(eb) > 0.0)) {
    return Normalized(Cross(ea, eb));
  }
  const Vec3 cross = Cross(ScaledToUnitSize(ea), ScaledToUnitSize(eb));
  return Largest(cross) > 0.0 ? Normalized(ScaledToUnitSize(cross)) : cross;
}

}  // namespace vellumor

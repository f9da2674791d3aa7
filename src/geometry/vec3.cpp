#include "geometry/vec3.h"

#include <cmath>

namespace vellumor {

Vec3 Normalized(const Vec3& v) {
  const double length = std::sqrt(0.0 + v.x * v.x + v.y * v.y + v.z * v.z);
  if (length == 0.0) {
    return v;
  }
  // One division, then three multiplications: callers rely on these exact bits.
  const double k = 1.0 / length;
  return {k * v.x, k * v.y, k * v.z};
}

}  // namespace vellumor

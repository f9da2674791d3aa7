#pragma once
// A point or direction in world space: y up, the ground in the x-z plane.

namespace vellumor {

struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// The unit vector of v, or v itself when its length is exactly 0.
Vec3 Normalized(const Vec3& v);

}  // namespace vellumor

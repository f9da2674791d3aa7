#pragma once
// Comparing vectors in tests: exactly, as a tuple, or within a tolerance.

#include <gtest/gtest.h>

#include <tuple>

#include "geometry/vec3.h"

namespace vellumor {

using Xyz = std::tuple<double, double, double>;
inline Xyz Of(const Vec3& v) { return {v.x, v.y, v.z}; }

inline void ExpectNear(const Vec3& v, double x, double y, double z, double tolerance) {
  EXPECT_NEAR(v.x, x, tolerance);
  EXPECT_NEAR(v.y, y, tolerance);
  EXPECT_NEAR(v.z, z, tolerance);
}

}  // namespace vellumor

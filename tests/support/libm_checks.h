#pragma once
// Doubles that pass through sin, cos or tan, held to values worked out on
// Linux, where glibc gives these bits exactly. The Windows C runtime may round
// sin, cos and tan differently in the last bit, so the Windows build accepts
// 1e-12 relative to the expected value: the bound that every height, camera
// and grid of that build keeps to (terrain/linux_values_test.cpp).

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "geometry/vec3.h"

namespace vellumor {

#ifdef _WIN32
inline constexpr double kLibmTolerance = 1e-12;
#else
inline constexpr double kLibmTolerance = 0.0;
#endif

// Each actual value equals its expected partner (on Windows, to kLibmTolerance).
inline void ExpectLibmEq(std::initializer_list<double> actual, std::initializer_list<double> expected) {
  ASSERT_EQ(actual.size(), expected.size());
  std::size_t i = 0;
  for (auto a = actual.begin(), e = expected.begin(); a != actual.end(); ++a, ++e, ++i) {
    if constexpr (kLibmTolerance == 0.0) {
      EXPECT_EQ(*a, *e) << "value " << i;
    } else {
      EXPECT_NEAR(*a, *e, kLibmTolerance * std::fabs(*e)) << "value " << i;
    }
  }
}

inline void ExpectLibmEq(const Vec3& actual, std::initializer_list<double> expected) {
  ExpectLibmEq({actual.x, actual.y, actual.z}, expected);
}

}  // namespace vellumor

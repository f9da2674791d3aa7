#pragma once
// Angles are held in radians; degrees appear only where OpenGL's glRotated
// and the field of view want them.

#include <numbers>

namespace vellumor {

inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
static_assert(kRadiansPerDegree == 0.017453292519943295);

}  // namespace vellumor

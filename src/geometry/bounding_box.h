#pragma once
// An axis-aligned box grown point by point. Empty is marked by the largest
// finite double, so an empty box never holds an infinity.

#include "geometry/vec3.h"

namespace vellumor {

inline constexpr double kBoxSentinel = 1.7976931348623157e308;

struct BoundingBox {
  Vec3 min;
  Vec3 max;
};

void SetEmpty(BoundingBox& box);
// True while any axis still carries the sentinel (exact comparisons; NaN never counts).
bool IsEmpty(const BoundingBox& box);
// Grows the box to hold p; a NaN coordinate is written into both bounds of its axis.
BoundingBox& Extend(BoundingBox& box, const Vec3& p);

}  // namespace vellumor

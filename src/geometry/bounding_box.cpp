#include "geometry/bounding_box.h"

namespace vellumor {

void SetEmpty(BoundingBox& box) {
  box.min = {kBoxSentinel, kBoxSentinel, kBoxSentinel};
  box.max = {-kBoxSentinel, -kBoxSentinel, -kBoxSentinel};
}

bool IsEmpty(const BoundingBox& box) {
  return box.min.x == kBoxSentinel || box.min.y == kBoxSentinel || box.min.z == kBoxSentinel ||
         box.max.x == -kBoxSentinel || box.max.y == -kBoxSentinel || box.max.z == -kBoxSentinel;
}

namespace {

// Strict tests: a tie rewrites the same value, and a NaN on either side is
// replaced, so a NaN point marks its axis and the next point clears it.
void Lower(double& bound, double value) {
  if (!(bound < value)) {
    bound = value;
  }
}

void Raise(double& bound, double value) {
  if (!(bound > value)) {
    bound = value;
  }
}

}  // namespace

BoundingBox& Extend(BoundingBox& box, const Vec3& p) {
  Lower(box.min.x, p.x);
  Lower(box.min.y, p.y);
  Lower(box.min.z, p.z);
  Raise(box.max.x, p.x);
  Raise(box.max.y, p.y);
  Raise(box.max.z, p.z);
  return box;
}

}  // namespace vellumor

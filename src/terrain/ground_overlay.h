#pragma once
// The half-transparent blue plane at height 0 over the camera's frustum box.

#include "geometry/bounding_box.h"

namespace vellumor {

struct GroundOverlay {
  double height = 0.0;
  BoundingBox bounds{};  // only x and z are used

  // Leaves the blend function (src alpha, one minus src alpha) and the colour set.
  void Draw() const;
};

}  // namespace vellumor

#pragma once
// The viewpoint the user flies: it covers `speed` world units per frame along
// its heading and pitch.

#include "geometry/vec3.h"

namespace vellumor {

struct Mover {
  double acceleration = 0.0;  // added to speed, scaled by the frame step
  Vec3 position;
  double heading = 0.0;  // radians; 0 travels along +z, pi/2 along +x
  double pitch = 0.0;    // radians; positive travels downwards
  double speed = 0.0;    // world units per frame

  void Step(double dt);
};

}  // namespace vellumor

#include "terrain/mover.h"

#include <cmath>

namespace vellumor {

void Mover::Step(double dt) {
  // The same direction as a camera with this yaw and pitch looks along.
  const double c = std::cos(-pitch);
  const double dx = std::sin(heading) * c;
  const double dy = std::sin(-pitch);
  const double dz = std::cos(heading) * c;
  // One `speed` of distance per frame, whatever the frame step.
  position.x = position.x + speed * dx;
  position.y = position.y + speed * dy;
  position.z = position.z + speed * dz;
  // The new speed first moves the mover at the next step.
  speed = speed + acceleration * dt;
}

}  // namespace vellumor

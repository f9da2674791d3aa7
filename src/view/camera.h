#pragma once
// An eye in world space with a perspective frustum fitted to a field of view,
// a radius and an aspect ratio. Yaw 0 looks along +z and grows towards +x;
// a positive pitch looks down.

#include <array>

#include "geometry/bounding_box.h"

namespace vellumor {

inline constexpr double kFarDistance = 9000.0;

// Extents of the near rectangle in eye space (looking along -z) and the two plane distances.
struct Frustum {
  double left = 0.0;
  double right = 0.0;
  double bottom = 0.0;
  double top = 0.0;
  double zNear = 0.0;
  double zFar = 0.0;
};

struct Camera {
  double aspect = 1.0;
  Vec3 position;
  double yaw = 0.0;    // radians
  double pitch = 0.0;  // radians, positive looks down
  BoundingBox bounds;  // around the eight world-space corners
  double fov = 65.0;   // degrees, across the narrower side
  double radius = 10.0;
  Frustum frustum;
  // Bit 0: left/right, bit 1: top/bottom, bit 2: near/far.
  std::array<Vec3, 8> corners;

  Camera();
  // Recomputes frustum, corners and bounds from the fields above; the far plane is always at 9000.
  void UpdateFrustum();
};

Frustum FitSphere(double radius, double fovDegrees, double aspect);
std::array<Vec3, 8> Corners(const Frustum& frustum);

}  // namespace vellumor

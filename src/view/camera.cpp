#include "view/camera.h"

#include <cmath>

#include "geometry/affine.h"
#include "geometry/angles.h"
#include "geometry/transform_stack.h"

namespace vellumor {

Frustum FitSphere(double radius, double fovDegrees, double aspect) {
  const double half = fovDegrees * 0.5 * kRadiansPerDegree;
  // The distance at which a sphere of this radius just fills the cone.
  const double distance = radius / std::sin(half);
  Frustum f;
  f.zNear = distance - radius;
  f.zFar = f.zNear + 2.0 * radius;
  // The field of view spans the narrower side of the near rectangle.
  const double e = std::tan(half) * f.zNear;
  if (aspect >= 1.0) {
    f.right = e * aspect;
    f.left = -(e * aspect);
    f.top = e;
    f.bottom = -e;
  } else {
    f.right = e;
    f.left = -e;
    f.top = e * (1.0 / aspect);
    f.bottom = -f.top;
  }
  return f;
}

std::array<Vec3, 8> Corners(const Frustum& f) {
  const double k = f.zFar / f.zNear;
  return {{
      {f.left, f.top, -f.zNear},
      {f.right, f.top, -f.zNear},
      {f.left, f.bottom, -f.zNear},
      {f.right, f.bottom, -f.zNear},
      {k * f.left, k * f.top, -f.zFar},
      {k * f.right, k * f.top, -f.zFar},
      {k * f.left, k * f.bottom, -f.zFar},
      {k * f.right, k * f.bottom, -f.zFar},
  }};
}

Camera::Camera() { UpdateFrustum(); }

void Camera::UpdateFrustum() {
  frustum = FitSphere(radius, fov, aspect);
  // The far plane is fixed; the radius moves only the near plane.
  frustum.zFar = kFarDistance;
  corners = Corners(frustum);

  // Eye to world: mirror z (eye space looks along -z), pitch, yaw, then move to the eye.
  TransformStack stack;
  stack.Translate(position);
  stack.MultiplyTop(RotationY(yaw));
  stack.MultiplyTop(RotationX(pitch));
  stack.Scale({1.0, 1.0, -1.0});
  TransformPoints(stack.Current(), corners);

  SetEmpty(bounds);
  for (const Vec3& c : corners) {
    Extend(bounds, c);
  }
}

}  // namespace vellumor

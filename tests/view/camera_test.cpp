#include "view/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "testing/allocation_counter.h"
#include "support/libm_checks.h"
#include "support/vec3_checks.h"

namespace vellumor {

namespace {

// From sin and tan on Linux (see support/libm_checks.h for the Windows build).
constexpr double kE = 5.486187866266674;  // half-size of the default near rectangle
constexpr double kNear = 8.611589967035776;

void ExpectNear(const Vec3& v, double x, double y, double z) { vellumor::ExpectNear(v, x, y, z, 1e-9); }

TEST(CameraTest, FrustumSpansTheNarrowerSideWithTheFarPlanePinned) {
  const Frustum f = Camera().frustum;
  ExpectLibmEq({f.left, f.right, f.bottom, f.top, f.zNear, f.zFar}, {-kE, kE, -kE, kE, kNear, 9000.0});
  ExpectLibmEq({FitSphere(10, 65, 1).zFar}, {kNear + 20});

  const Frustum wide = FitSphere(10, 65, 2);
  ExpectLibmEq({wide.left, wide.right, wide.top}, {-2 * kE, 2 * kE, kE});
  const Frustum tall = FitSphere(10, 65, 0.5);
  ExpectLibmEq({tall.right, tall.bottom, tall.top}, {kE, -2 * kE, 2 * kE});

  Camera ortho;
  ortho.radius = 1500;
  ortho.UpdateFrustum();
  ExpectLibmEq({ortho.frustum.zNear}, {1291.7384950553665});
  EXPECT_EQ(ortho.frustum.zFar, 9000);
}

TEST(CameraTest, LevelCameraLooksAlongPlusZWithoutAllocating) {
  Camera camera;
  camera.position = {0, 100, 0};
  camera.UpdateFrustum();
  const std::size_t allocations = alloccount::Count();
  camera.UpdateFrustum();  // from the inputs again, not from the last result
  EXPECT_EQ(alloccount::Count(), allocations);  // runs every frame
  const double k = 9000 / kNear;
  ExpectLibmEq(camera.corners[0], {-kE, 100 + kE, kNear});
  ExpectLibmEq(camera.corners[7], {k * kE, 100 - k * kE, 9000});
  ExpectLibmEq(camera.bounds.min, {-k * kE, 100 - k * kE, kNear});
  ExpectLibmEq(camera.bounds.max, {k * kE, 100 + k * kE, 9000});
}

TEST(CameraTest, YawTurnsTowardsPlusXAndPitchLooksDown) {
  Camera yawed, pitched;
  yawed.yaw = std::numbers::pi / 2;
  yawed.UpdateFrustum();
  ExpectNear(yawed.corners[0], kNear, kE, kE);
  ExpectNear(yawed.corners[1], kNear, kE, -kE);
  pitched.pitch = std::numbers::pi / 2;
  pitched.UpdateFrustum();
  ExpectNear(pitched.corners[0], -kE, -kNear, kE);  // the top of the picture lies towards +z
}

TEST(CameraTest, TurnedAndTiltedCameraPitchesInItsOwnFrameThenYaws) {
  Camera camera;
  camera.position = {-40, 250, 1200};
  camera.yaw = 2.2;
  camera.pitch = 0.6;
  camera.UpdateFrustum();
  // Worked out from the camera's axes in the world: the view direction, screen
  // right and screen up of this yaw and pitch. Eye-space corner (x, y, -d) lies
  // at position + x * right + y * up + d * ahead.
  const double sy = std::sin(2.2), cy = std::cos(2.2), sp = std::sin(0.6), cp = std::cos(0.6);
  const Vec3 ahead{sy * cp, -sp, cy * cp}, right{cy, 0, -sy}, up{sy * sp, cp, cy * sp};
  const double k = 9000 / kNear;
  BoundingBox box;
  SetEmpty(box);
  for (int n = 0; n < 8; ++n) {
    const double scale = n & 4 ? k : 1.0;
    const double x = (n & 1 ? kE : -kE) * scale, y = (n & 2 ? -kE : kE) * scale, d = n & 4 ? 9000 : kNear;
    const Vec3 corner{-40 + x * right.x + y * up.x + d * ahead.x, 250 + x * right.y + y * up.y + d * ahead.y,
                      1200 + x * right.z + y * up.z + d * ahead.z};
    SCOPED_TRACE(n);
    vellumor::ExpectNear(camera.corners[n], corner.x, corner.y, corner.z, 1e-9 * (n & 4 ? 9000 : 10));
    Extend(box, corner);
  }
  vellumor::ExpectNear(camera.bounds.min, box.min.x, box.min.y, box.min.z, 1e-5);
  vellumor::ExpectNear(camera.bounds.max, box.max.x, box.max.y, box.max.z, 1e-5);
}

}  // namespace

}  // namespace vellumor

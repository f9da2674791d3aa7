#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

#include "geometry/affine.h"
#include "geometry/bounding_box.h"
#include "geometry/transform_stack.h"
#include "support/vec3_checks.h"

namespace vellumor {

namespace {

void ExpectNear(const Vec3& v, double x, double y, double z) { vellumor::ExpectNear(v, x, y, z, 1e-15); }

TEST(GeometryTest, NormalizedDividesOnceThenMultiplies) {
  EXPECT_EQ(Of(Normalized({0, 0, 0})), Xyz(0, 0, 0));
  EXPECT_EQ(Of(Normalized({3, 0, 4})), Xyz(0.6000000000000001, 0, 0.8));  // 1/5 rounds up
}

TEST(GeometryTest, BoxIsEmptyWhileAnyComponentHoldsTheSentinel) {
  BoundingBox box;
  SetEmpty(box);
  EXPECT_TRUE(IsEmpty(box));
  Extend(box, {1, 5, -2});
  EXPECT_FALSE(IsEmpty(box));
  EXPECT_EQ(Of(box.min), Xyz(1, 5, -2));
  EXPECT_EQ(Of(box.max), Xyz(1, 5, -2));
  // Any one component still at its sentinel leaves the box empty; the other sign does not.
  const auto component = [](BoundingBox& b, int k) -> double& {
    Vec3& v = k < 3 ? b.min : b.max;
    return k % 3 == 0 ? v.x : k % 3 == 1 ? v.y : v.z;
  };
  for (int k = 0; k < 6; ++k) {
    const double sentinel = k < 3 ? kBoxSentinel : -kBoxSentinel;
    BoundingBox one = box;
    component(one, k) = sentinel;
    EXPECT_TRUE(IsEmpty(one)) << k;
    component(one, k) = -sentinel;
    EXPECT_FALSE(IsEmpty(one)) << k;
  }
}

TEST(GeometryTest, ExtendIsOrderFreeAndReplacesNan) {
  BoundingBox a, b;
  SetEmpty(a);
  SetEmpty(b);
  Extend(Extend(a, {1, 5, -2}), {3, -1, 0});
  Extend(Extend(b, {3, -1, 0}), {1, 5, -2});
  for (const BoundingBox& box : {a, b}) {
    EXPECT_EQ(Of(box.min), Xyz(1, -1, -2));
    EXPECT_EQ(Of(box.max), Xyz(3, 5, 0));
  }
  SetEmpty(a);
  Extend(a, {NAN, 2, 3});
  EXPECT_TRUE(std::isnan(a.min.x) && std::isnan(a.max.x));
  EXPECT_FALSE(IsEmpty(a));
  Extend(a, {4, 1, 5});
  EXPECT_EQ(Of(a.min), Xyz(4, 1, 3));
  EXPECT_EQ(Of(a.max), Xyz(4, 2, 5));
}

TEST(GeometryTest, ComposeAppliesRightOperandFirst) {
  AffineMatrix a, b;
  for (int i = 0; i < 12; ++i) {
    a.m[i] = i % 2 ? -i : i + 2;
    b.m[i] = 5 - i;
  }
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(Compose(Identity(), a).m[i], a.m[i]);
    EXPECT_EQ(Compose(a, Identity()).m[i], a.m[i]);
  }
  // Small integers, so both ways are exact.
  EXPECT_EQ(Of(Apply(Compose(a, b), {1, -2, 3})), Of(Apply(a, Apply(b, {1, -2, 3}))));
}

TEST(GeometryTest, RotationsAreRightHandedAndPointsMoveWhole) {
  constexpr double kHalfPi = std::numbers::pi / 2;
  ExpectNear(Apply(RotationX(kHalfPi), {0, 0, 1}), 0, -1, 0);
  ExpectNear(Apply(RotationX(kHalfPi), {0, 1, 0}), 0, 0, 1);
  // A rotation mixes x into z: updating a point coordinate by coordinate would go wrong.
  std::vector<Vec3> points{{1, 0, 0}, {0, 2, 1}};
  TransformPoints(RotationY(kHalfPi), points);
  ExpectNear(points[0], 0, 0, -1);
  ExpectNear(points[1], 1, 2, 0);
}

TEST(GeometryTest, StackAppliesTheLastOperationFirst) {
  TransformStack translateThenScale, scaleThenTranslate;
  translateThenScale.Translate({1, 2, 3});
  translateThenScale.Scale({2, 2, 2});
  scaleThenTranslate.Scale({2, 2, 2});
  scaleThenTranslate.Translate({1, 2, 3});
  EXPECT_EQ(Of(Apply(translateThenScale.Current(), {1, 1, 1})), Xyz(3, 4, 5));
  EXPECT_EQ(Of(Apply(scaleThenTranslate.Current(), {1, 1, 1})), Xyz(4, 6, 8));
}

}  // namespace

}  // namespace vellumor

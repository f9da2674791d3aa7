#include "geometry/transform_stack.h"

namespace vellumor {

TransformStack::TransformStack() : top(Identity()) {}

const AffineMatrix& TransformStack::Current() const { return top; }

void TransformStack::MultiplyTop(const AffineMatrix& m) { top = Compose(top, m); }

void TransformStack::Translate(const Vec3& v) {
  AffineMatrix t = Identity();
  t.m[9] = v.x;
  t.m[10] = v.y;
  t.m[11] = v.z;
  MultiplyTop(t);
}

void TransformStack::Scale(const Vec3& v) {
  AffineMatrix s = Identity();
  s.m[0] = v.x;
  s.m[4] = v.y;
  s.m[8] = v.z;
  MultiplyTop(s);
}

}  // namespace vellumor

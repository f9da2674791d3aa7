#pragma once
// A transform stack whose current matrix is multiplied on the right, as
// OpenGL's is: the operation issued last is the first applied to a point.
// Nothing in the program pushes or pops, so only the top is kept, and
// building one allocates nothing.

#include "geometry/affine.h"

namespace vellumor {

class TransformStack {
 public:
  TransformStack();
  const AffineMatrix& Current() const;
  void MultiplyTop(const AffineMatrix& m);
  void Translate(const Vec3& v);
  void Scale(const Vec3& v);

 private:
  AffineMatrix top;
};

}  // namespace vellumor

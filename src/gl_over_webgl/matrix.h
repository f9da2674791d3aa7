#pragma once
// The 4 by 4 matrices of OpenGL's transform stages, in doubles, column-major
// as OpenGL keeps them (element 4 * column + row), and the matrices of the
// GL 1.1 calls that build them, as OpenGL's reference pages define them.

#include <array>

namespace vellumor::webgl {

using Matrix = std::array<double, 16>;
using Vec4 = std::array<double, 4>;
using Vec3d = std::array<double, 3>;
// The inverse transpose of a matrix's upper-left 3 by 3, column-major: what
// carries normals into eye space.
using NormalMatrix = std::array<double, 9>;

inline constexpr Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Matrix Multiply(const Matrix& a, const Matrix& b);  // a * b
// m * v; inline, as every vertex goes through it.
inline Vec4 Transform(const Matrix& m, const Vec4& v) {
  Vec4 out;
  for (int row = 0; row < 4; ++row) {
    out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
  }
  return out;
}
inline Vec3d Transform(const NormalMatrix& m, const Vec3d& v) {
  Vec3d out;
  for (int row = 0; row < 3; ++row) out[row] = m[row] * v[0] + m[3 + row] * v[1] + m[6 + row] * v[2];
  return out;
}
// The window coordinates of a clip position whose w is positive, in a
// viewport (x, y, width, height) and the depth range 0 to 1.
inline Vec3d WindowOf(const Vec4& clip, const int* viewport) {
  const double w = clip[3];
  return {viewport[0] + (clip[0] / w + 1.0) * 0.5 * viewport[2], viewport[1] + (clip[1] / w + 1.0) * 0.5 * viewport[3],
          (clip[2] / w + 1.0) * 0.5};
}
NormalMatrix NormalMatrixOf(const Matrix& modelview);
// The point an affine modelview takes to the eye, (0, 0, 0); the origin when
// there is none.
Vec3d EyeOf(const Matrix& modelview);

Matrix Rotation(double degrees, double x, double y, double z);
Matrix Translation(double x, double y, double z);
Matrix Scaling(double x, double y, double z);
Matrix Ortho(double left, double right, double bottom, double top, double zNear, double zFar);
Matrix Frustum(double left, double right, double bottom, double top, double zNear, double zFar);

}  // namespace vellumor::webgl

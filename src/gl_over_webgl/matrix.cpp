#include "gl_over_webgl/matrix.h"

#include <cmath>
#include <initializer_list>

namespace vellumor::webgl {

namespace {

// Rows written out as the reference pages print them, stored column-major.
Matrix FromRows(std::initializer_list<double> rows) {
  Matrix m{};
  int k = 0;
  for (double value : rows) {
    m[4 * (k % 4) + k / 4] = value;
    ++k;
  }
  return m;
}

}  // namespace

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix c{};
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += a[4 * k + row] * b[4 * column + k];
      c[4 * column + row] = sum;
    }
  }
  return c;
}

NormalMatrix NormalMatrixOf(const Matrix& mv) {
  // a(r, c): the upper-left 3 by 3. The inverse transpose is the cofactor
  // matrix over the determinant.
  auto a = [&mv](int r, int c) { return mv[4 * c + r]; };
  NormalMatrix n{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
      n[3 * c + r] = a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
    }
  }
  const double det = a(0, 0) * n[0] + a(0, 1) * n[3] + a(0, 2) * n[6];
  if (det != 0.0) {
    for (double& value : n) value /= det;
  }
  return n;
}

Vec3d EyeOf(const Matrix& mv) {
  if (mv[3] != 0.0 || mv[7] != 0.0 || mv[11] != 0.0 || mv[15] != 1.0) return {0, 0, 0};
  auto a = [&mv](int r, int c) { return mv[4 * c + r]; };
  const double det = a(0, 0) * (a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1)) -
                     a(0, 1) * (a(1, 0) * a(2, 2) - a(1, 2) * a(2, 0)) +
                     a(0, 2) * (a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0));
  if (det == 0.0) return {0, 0, 0};
  // The inverse is the normal matrix transposed: element (r, c) at n[3 * r + c].
  const NormalMatrix n = NormalMatrixOf(mv);
  Vec3d eye{};
  for (int r = 0; r < 3; ++r) eye[r] = -(n[3 * r] * mv[12] + n[3 * r + 1] * mv[13] + n[3 * r + 2] * mv[14]);
  return eye;
}

Matrix Rotation(double degrees, double x, double y, double z) {
  const double length = std::sqrt(x * x + y * y + z * z);
  if (length == 0.0) return kIdentity;
  const double ux = x / length, uy = y / length, uz = z / length;
  const double radians = degrees * 3.14159265358979323846 / 180.0;
  const double c = std::cos(radians), s = std::sin(radians), k = 1 - c;
  return FromRows({ux * ux * k + c, ux * uy * k - uz * s, ux * uz * k + uy * s, 0,  //
                   uy * ux * k + uz * s, uy * uy * k + c, uy * uz * k - ux * s, 0,  //
                   ux * uz * k - uy * s, uy * uz * k + ux * s, uz * uz * k + c, 0,  //
                   0, 0, 0, 1});
}

Matrix Translation(double x, double y, double z) { return FromRows({1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1}); }

Matrix Scaling(double x, double y, double z) { return FromRows({x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}); }

Matrix Ortho(double l, double r, double b, double t, double n, double f) {
  return FromRows({2 / (r - l), 0, 0, -(r + l) / (r - l),  //
                   0, 2 / (t - b), 0, -(t + b) / (t - b),  //
                   0, 0, -2 / (f - n), -(f + n) / (f - n),  //
                   0, 0, 0, 1});
}

Matrix Frustum(double l, double r, double b, double t, double n, double f) {
  return FromRows({2 * n / (r - l), 0, (r + l) / (r - l), 0,  //
                   0, 2 * n / (t - b), (t + b) / (t - b), 0,  //
                   0, 0, -(f + n) / (f - n), -2 * f * n / (f - n),  //
                   0, 0, -1, 0});
}

}  // namespace vellumor::webgl

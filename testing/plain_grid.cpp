#include "testing/plain_grid.h"

#include <cstddef>

#include "terrain/height.h"

namespace vellumor {

bool BuildGridPlain(Terrain& t) {
  GridLayout g;
  if (!LayOutGrid(t, g)) {
    return false;
  }
  const std::size_t columns = static_cast<std::size_t>(t.columns);
  const std::size_t sampleRows = static_cast<std::size_t>(t.rows) + 1;

  // Row by row along x: the order in which the noise's corner cache pays off.
  double* v = t.vertices.data();
  for (std::size_t i = 0; i < sampleRows; ++i) {
    const double z = g.z0 + static_cast<double>(i) * g.unit;
    for (std::size_t j = 0; j < columns; ++j) {
      const double x = g.x0 + static_cast<double>(j) * g.unit;
      v[0] = x;
      v[1] = TerrainHeight(x, z, t.octaves, t.amp, t.freq, t.h);
      v[2] = z;
      v += 3;
    }
  }

  // Each drawn sample takes the mean of the four cells around its neighbour
  // one step along +x and +z: cells (i, j + 1), (i, j), (i + 1, j), (i + 1, j + 1).
  // Every face normal is computed once: a row's faces wait in the normal slots
  // of that row, and each slot is overwritten by its mean once read.
  const auto stageFaces = [&t, columns](std::int32_t i) {
    double* slot = t.normals.data() + 3 * (static_cast<std::size_t>(i) * columns + 1);
    for (std::int32_t j = 1; j <= t.columns - 2; ++j, slot += 3) {
      const Vec3 f = t.FaceNormal(i, j);
      slot[0] = f.x;
      slot[1] = f.y;
      slot[2] = f.z;
    }
  };
  if (t.rows >= 3 && t.columns >= 4) {
    stageFaces(1);
    for (std::int32_t i = 1; i <= t.rows - 2; ++i) {
      stageFaces(i + 1);
      double* n = t.normals.data() + 3 * (static_cast<std::size_t>(i) * columns + 1);
      const double* next = n + 3 * columns;
      for (std::int32_t j = 1; j <= t.columns - 3; ++j) {
        // n holds face (i, j) until it is overwritten here; n + 3 still holds face (i, j + 1).
        const double x = 0.25 * (n[3] + n[0] + next[0] + next[3]);
        const double y = 0.25 * (n[4] + n[1] + next[1] + next[4]);
        const double z = 0.25 * (n[5] + n[2] + next[2] + next[5]);
        n[0] = x;
        n[1] = y;
        n[2] = z;
        n += 3;
        next += 3;
      }
    }
  }
  return true;
}

}  // namespace vellumor


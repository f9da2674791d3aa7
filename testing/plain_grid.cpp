#include "testing/plain_grid.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "terrain/height.h"

namespace vellumor {

namespace {

bool SameValue(double a, double b) {
  if (std::isnan(a)) return std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Whether the samples of the four faces drawn sample (i, j) is shaded with,
// rows i to i + 2 and columns j to j + 2, are all finite.
bool FiniteAround(const Terrain& t, std::int32_t i, std::int32_t j) {
  const std::size_t columns = static_cast<std::size_t>(t.columns);
  for (std::int32_t r = i; r <= i + 2; ++r) {
    for (std::int32_t c = j; c <= j + 2; ++c) {
      const double* v = &t.vertices[3 * (static_cast<std::size_t>(r) * columns + static_cast<std::size_t>(c))];
      if (!(std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]))) return false;
    }
  }
  return true;
}

bool UnitMean(const double* n) {
  const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  return std::isfinite(length) && n[1] >= 0.0 && length <= 1.0 + 1e-15;
}

std::string Where(const char* what, std::int32_t i, std::int32_t j) {
  return std::string(what) + " (" + std::to_string(i) + ", " + std::to_string(j) + ")";
}

// The first difference between two grids of the same size, or "".
std::string Difference(const GridComparison& c) {
  const Terrain& fast = c.fast;
  const std::size_t columns = static_cast<std::size_t>(fast.columns);
  const std::size_t samples = columns * (static_cast<std::size_t>(fast.rows) + 1);
  if (fast.vertices.size() != 3 * samples || fast.normals.size() != 3 * samples) {
    return "arrays that do not hold the grid's samples";
  }
  for (std::size_t k = 0; k < 3 * samples; ++k) {
    if (!SameValue(fast.vertices[k], c.plain.vertices[k])) {
      return "vertex " + std::to_string(k / 3) + " component " + std::to_string(k % 3) + ": " +
             std::to_string(fast.vertices[k]) + " != " + std::to_string(c.plain.vertices[k]);
    }
  }
  for (std::int32_t i = 1; i <= fast.rows - 2; ++i) {
    for (std::int32_t j = 1; j <= fast.columns - 3; ++j) {
      const std::size_t k = 3 * (static_cast<std::size_t>(i) * columns + static_cast<std::size_t>(j));
      const double* n = &fast.normals[k];
      const double* m = &c.plain.normals[k];
      if (!(SameValue(n[0], m[0]) && SameValue(n[1], m[1]) && SameValue(n[2], m[2]))) {
        return Where("normal", i, j) + " differs";
      }
      if (FiniteAround(fast, i, j) && !UnitMean(n)) {
        return Where("normal", i, j) + " of finite samples is " + std::to_string(n[0]) + ", " +
               std::to_string(n[1]) + ", " + std::to_string(n[2]);
      }
    }
  }
  return "";
}

}  // namespace

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

GridComparison CompareGrids(const Terrain& params) {
  GridComparison c;
  c.fast = params;
  c.plain = params;
  c.built = BuildGrid(c.fast);
  if (c.built != BuildGridPlain(c.plain)) {
    c.problem = c.built ? "only the fast grid was built" : "only the plain grid was built";
  } else if (c.fast.columns != c.plain.columns || c.fast.rows != c.plain.rows) {
    c.problem = "columns and rows differ: fast " + std::to_string(c.fast.columns) + " by " +
                std::to_string(c.fast.rows) + ", plain " + std::to_string(c.plain.columns) + " by " +
                std::to_string(c.plain.rows);
  } else if (c.built) {
    c.problem = Difference(c);
    for (std::size_t k = 1; k < c.fast.vertices.size(); k += 3) c.nanHeights += std::isnan(c.fast.vertices[k]);
  }
  return c;
}

}  // namespace vellumor


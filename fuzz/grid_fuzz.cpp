// The terrain grid for any box, unit and noise parameters, huge, tiny,
// negative, infinite and NaN ones included: the fast sampler (BuildGrid)
// against the plain evaluation (BuildGridPlain, one TerrainHeight per sample
// and one FaceNormal per face). Asserts, besides what the sanitizers catch:
// - both build or both refuse, with the same columns and rows;
// - a built grid holds exactly its samples, and every vertex and every
//   drawn normal has the same bits in both (any NaN matching any NaN);
// - for a unit the keys can make (80 times a power of two) and a box within
//   2^40 units of the origin, where snapping to the unit is exact, a grid is
//   built, with at least 4 columns and 3 rows, so that some of it is drawn.
//   (Other units, 0.1 say, snap with rounding and can leave 3 columns.)
// - the grid never holds more than kMaxGridSamples samples, and its storage
//   stays within twice that however it grew;
// - a drawn normal whose samples around it are all finite is finite, does
//   not point down and is at most 1 long (the mean of four unit normals),
//   however long the edges: no overflow on the way.
//
// Building both grids costs samples times octaves; to keep thousands of
// inputs per second, a grid whose samples times octaves would pass
// kMaxSampleOctaves, every one the cap coarsens among them, is laid out
// (which is where the cap acts) but not sampled.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_input.h"
#include "fuzz/octave_budget.h"
#include "terrain/terrain.h"
#include "testing/plain_grid.h"
#include "testing/shell_invariants.h"

namespace vellumor {

namespace {

using fuzz::SameValue;

constexpr double kMaxSampleOctaves = 32768.0;


void Print(const char* what, const Terrain& t) {
  std::fprintf(stderr,
               "%s\n  unit %.17g octaves %.17g amp %.17g freq %.17g h %.17g\n"
               "  box x %.17g .. %.17g, y %.17g .. %.17g, z %.17g .. %.17g\n",
               what, t.unit, t.octaves, t.amp, t.freq, t.h, t.bounds.min.x, t.bounds.max.x, t.bounds.min.y,
               t.bounds.max.y, t.bounds.min.z, t.bounds.max.z);
}

[[noreturn]] void Fail(const std::string& what, const Terrain& t) {
  Print(("grid fuzzer: " + what).c_str(), t);
  std::abort();
}

// Mostly a box a few dozen units across, so that it is gridded at its own
// unit; sometimes any box at all.
void ReadExtent(fuzz::Input& in, bool any, double unit, double& lo, double& hi) {
  lo = in.Number();
  hi = any ? in.Number() : lo + unit * (in.Byte() / 4.0);
}

// A unit of 80 times a power of two, and a box whose coordinates are within
// 2^40 units of the origin: every multiple of the unit the grid snaps to is a
// double, so its margins hold exactly.
bool UnitResolved(const Terrain& t) {
  int exponent = 0;
  int exponentOf80 = 0;
  const bool keyUnit = t.unit > 0.0 && std::frexp(t.unit, &exponent) == std::frexp(80.0, &exponentOf80);
  const double limit = 0x1p40 * t.unit;
  const BoundingBox& b = t.bounds;
  return keyUnit && std::isfinite(limit) && std::fabs(b.min.x) <= limit && std::fabs(b.max.x) <= limit &&
         std::fabs(b.min.z) <= limit && std::fabs(b.max.z) <= limit;
}

// Where a grid must be built, with at least 4 columns and 3 rows.
bool HasGrid(const Terrain& t) {
  const BoundingBox& b = t.bounds;
  return UnitResolved(t) && b.min.x <= b.max.x && b.min.z <= b.max.z && !IsEmpty(b);
}

// The least and the greatest |c * freq| for c in [lo, hi].
void Magnitudes(double lo, double hi, double freq, double& nearest, double& farthest) {
  nearest = lo <= 0.0 && hi >= 0.0 ? 0.0 : std::fmin(std::fabs(lo), std::fabs(hi)) * freq;
  farthest = std::fmax(std::fabs(lo), std::fabs(hi)) * freq;
}

void CheckBounded(const Terrain& t) {
  const std::string problem = invariants::GridProblem(t);
  if (!problem.empty()) Fail("grid past its cap: " + problem, t);
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

// The mean of four unit normals of faces that face up: finite, y >= 0, at most 1 long.
bool UnitMean(const double* n) {
  const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  return std::isfinite(length) && n[1] >= 0.0 && length <= 1.0 + 1e-15;
}

void CompareGrids(const Terrain& params) {
  Terrain fast = params;
  Terrain plain = params;
  const bool built = BuildGrid(fast);
  if (built != BuildGridPlain(plain)) Fail(built ? "only the fast grid was built" : "only the plain grid was built", params);
  if (fast.columns != plain.columns || fast.rows != plain.rows) {
    Fail("columns and rows differ: fast " + std::to_string(fast.columns) + " by " + std::to_string(fast.rows) +
             ", plain " + std::to_string(plain.columns) + " by " + std::to_string(plain.rows),
         params);
  }
  CheckBounded(fast);
  CheckBounded(plain);
  if (!built) {
    if (HasGrid(params)) Fail("no grid for a box that has one", params);
    return;
  }
  const std::size_t columns = static_cast<std::size_t>(fast.columns);
  const std::size_t samples = columns * (static_cast<std::size_t>(fast.rows) + 1);
  if (UnitResolved(params) && (fast.columns < 4 || fast.rows < 3)) {
    Fail("a grid smaller than 4 columns by 3 rows", params);
  }
  if (fast.vertices.size() != 3 * samples || fast.normals.size() != 3 * samples) {
    Fail("arrays that do not hold the grid's samples", params);
  }
  for (std::size_t k = 0; k < 3 * samples; ++k) {
    if (!SameValue(fast.vertices[k], plain.vertices[k])) {
      Fail("vertex " + std::to_string(k / 3) + " component " + std::to_string(k % 3) + " differs", params);
    }
  }
  for (std::int32_t i = 1; i <= fast.rows - 2; ++i) {
    for (std::int32_t j = 1; j <= fast.columns - 3; ++j) {
      const std::size_t k = 3 * (static_cast<std::size_t>(i) * columns + static_cast<std::size_t>(j));
      for (std::size_t c = 0; c < 3; ++c) {
        if (!SameValue(fast.normals[k + c], plain.normals[k + c])) {
          Fail("normal (" + std::to_string(i) + ", " + std::to_string(j) + ") differs", params);
        }
      }
      if (FiniteAround(fast, i, j) && !UnitMean(&fast.normals[k])) {
        Fail("normal (" + std::to_string(i) + ", " + std::to_string(j) + ") of finite samples is " +
                 std::to_string(fast.normals[k]) + ", " + std::to_string(fast.normals[k + 1]) + ", " +
                 std::to_string(fast.normals[k + 2]),
             params);
      }
    }
  }
}

// The terrain that LayOutOnly lays grids out in, kept from input to input
// with room for the largest grid, so that its arrays (some hundred megabytes
// at the cap) are neither allocated nor filled afresh each time.
Terrain& CapTerrain() {
  static Terrain t = [] {
    Terrain fresh;
    fresh.vertices.reserve(invariants::kMaxGridDoubles);
    fresh.normals.reserve(invariants::kMaxGridDoubles);
    return fresh;
  }();
  return t;
}

// Only the layout, where the sample cap acts.
void LayOutOnly(const Terrain& params) {
  Terrain& t = CapTerrain();
  t.unit = params.unit;
  t.bounds = params.bounds;
  t.columns = 0;
  t.rows = 0;
  GridLayout layout;
  if (LayOutGrid(t, layout)) {
    if (UnitResolved(params) && (t.columns < 4 || t.rows < 3)) Fail("a grid smaller than 4 columns by 3 rows", params);
    if (!(layout.unit >= params.unit)) Fail("a grid finer than its unit", params);
  } else if (HasGrid(params)) {
    Fail("no grid for a box that has one", params);
  }
  CheckBounded(t);
}

}  // namespace

}  // namespace vellumor

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vellumor::CapTerrain();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vellumor;
  fuzz::Input in(data, size);
  Terrain t;
  t.unit = in.Number();
  t.octaves = in.Number();
  t.amp = in.Number();
  t.freq = in.Number();
  t.h = in.Number();
  // Two bits a side, so that a side of any size (nearly always one the cap
  // coarsens, where a layout costs milliseconds) comes in one input of four.
  const std::uint8_t shape = in.Byte();
  ReadExtent(in, (shape & 3u) == 3u, t.unit, t.bounds.min.x, t.bounds.max.x);
  ReadExtent(in, (shape & 12u) == 12u, t.unit, t.bounds.min.z, t.bounds.max.z);
  // Only x and z count, but a y on the empty box's mark makes the box empty.
  if ((shape & 48u) == 48u) {
    t.bounds.min.y = in.Number();
    t.bounds.max.y = in.Number();
  } else {
    t.bounds.min.y = -5.0;
    t.bounds.max.y = 7.0;
  }

  // The samples the box asks for at its own unit, with the grid's margins.
  const double u = std::fabs(t.unit);
  const double spanX = (t.bounds.max.x - t.bounds.min.x) / u + 6.0;
  const double spanZ = (t.bounds.max.z - t.bounds.min.z) / u + 6.0;
  double nearX = 0.0, farX = 0.0, nearZ = 0.0, farZ = 0.0;
  Magnitudes(t.bounds.min.x - 3.0 * u, t.bounds.max.x + 3.0 * u, std::fabs(t.freq), nearX, farX);
  Magnitudes(t.bounds.min.z - 3.0 * u, t.bounds.max.z + 3.0 * u, std::fabs(t.freq), nearZ, farZ);
  t.octaves = fuzz::AffordableOctaves(t.octaves, t.amp, t.h, std::fmax(nearX, nearZ), std::fmax(farX, farZ));
  const double work = spanX * spanZ * std::fmax(1.0, fuzz::OctavesSummed(t.octaves, t.amp, t.h));
  const bool compare = work <= kMaxSampleOctaves || !(spanX >= 0.0 && spanZ >= 0.0);
  if (fuzz::Tracing()) Print(compare ? "both grids:" : "layout only:", t);
  if (compare) {
    CompareGrids(t);
  } else {
    LayOutOnly(t);
  }
  return 0;
}

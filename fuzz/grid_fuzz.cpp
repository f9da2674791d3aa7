// The terrain grid for any box, unit and noise parameters, huge, tiny,
// negative, infinite and NaN ones included: the fast sampler (BuildGrid)
// against the plain evaluation (BuildGridPlain, one TerrainHeight per sample
// and one FaceNormal per face), as the unit tests compare them
// (CompareGrids). Asserts, besides what the sanitizers catch:
// - both build or both refuse, with the same columns and rows;
// - a built grid holds exactly its samples, and every vertex and every
//   drawn normal has the same bits in both (any NaN matching any NaN);
// - a drawn normal whose samples around it are all finite is finite, does
//   not point down and is at most 1 long (the mean of four unit normals),
//   however long the edges: no overflow on the way;
// - for a unit the keys can make (80 times a power of two) and a box within
//   2^40 units of the origin, where snapping to the unit is exact, a grid is
//   built, with at least 4 columns and 3 rows, so that some of it is drawn.
//   (Other units, 0.1 say, snap with rounding and can leave 3 columns.)
// - the grid never holds more than kMaxGridSamples samples, and its storage
//   stays within twice that however it grew.
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
#include <string>

#include "testing/byte_reader.h"
#include "fuzz/octave_budget.h"
#include "terrain/terrain.h"
#include "testing/plain_grid.h"
#include "testing/shell_invariants.h"

namespace vellumor {

namespace {

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

void CompareBoth(const Terrain& params) {
  const GridComparison c = CompareGrids(params);
  if (!c.problem.empty()) Fail(c.problem, params);
  CheckBounded(c.fast);
  CheckBounded(c.plain);
  if (!c.built) {
    if (HasGrid(params)) Fail("no grid for a box that has one", params);
  } else if (UnitResolved(params) && (c.fast.columns < 4 || c.fast.rows < 3)) {
    Fail("a grid smaller than 4 columns by 3 rows", params);
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
    CompareBoth(t);
  } else {
    LayOutOnly(t);
  }
  return 0;
}

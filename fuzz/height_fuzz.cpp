// The height function at any coordinates and parameters, held against its
// definition evaluated the plain way: every octave summed in order, the noise
// computed afresh from the lattice hash each time. Asserts, besides what the
// sanitizers catch:
// - LatticeValue equals the hash computed on 64-bit values and lies in
//   [1 - 4945007/3354521, 1];
// - SmoothNoise gives the definition's bits, is NaN exactly where x or z is
//   not finite, lies within the lattice values' range otherwise, and equals
//   the lattice value at integer points;
// - TerrainHeight gives the definition's bits (any NaN matching any NaN):
//   the early end of the octave sum never changes a result;
// - TerrainHeight is NaN only where some octave it sums (1 to the whole part
//   of octaves) has an amplitude amp * h^(k - 1), formed by repeated
//   multiplication, that is not finite, or a noise coordinate k * (x * freq)
//   or k * (z * freq) that is not finite. Finite arguments whose products
//   overflow count as such: a huge x times freq, k times a huge x * freq, or
//   amp times a power of a large h. With all of those finite the sum may
//   still overflow to an infinity, but never become NaN.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "testing/byte_reader.h"
#include "fuzz/octave_budget.h"
#include "terrain/height.h"
#include "terrain/lattice.h"
#include "testing/reference_height.h"

namespace vellumor {

namespace {

using fuzz::Bits;
using fuzz::SameValue;

constexpr double kLatticeMin = 1.0 - 4945007.0 / 3354521.0;
constexpr int kMaxPoints = 4;

struct Parameters {
  double octaves = 0.0;
  double amp = 0.0;
  double freq = 0.0;
  double h = 0.0;
};

struct Point {
  double x = 0.0;
  double z = 0.0;
};

[[noreturn]] void Fail(const std::string& what, double x, double z, const Parameters& p) {
  std::fprintf(stderr,
               "height fuzzer: %s\n  x %.17g z %.17g octaves %.17g amp %.17g freq %.17g h %.17g\n",
               what.c_str(), x, z, p.octaves, p.amp, p.freq, p.h);
  std::abort();
}

void CheckLattice(std::uint32_t n) {
  const double value = LatticeValue(n);
  if (Bits(value) != Bits(ReferenceLattice(n)) || !(value >= kLatticeMin && value <= 1.0)) {
    std::fprintf(stderr, "height fuzzer: LatticeValue(%u) = %.17g, expected %.17g\n", n, value,
                 ReferenceLattice(n));
    std::abort();
  }
}

void CheckNoise(const Point& q, const Parameters& p) {
  const double value = SmoothNoise(q.x, q.z);
  const bool finiteIn = std::isfinite(q.x) && std::isfinite(q.z);
  if (std::isnan(value) == finiteIn) Fail("SmoothNoise is NaN where, and only where, x or z is not", q.x, q.z, p);
  if (!SameValue(value, ReferenceNoise(q.x, q.z))) Fail("SmoothNoise differs from its definition", q.x, q.z, p);
  // A blend of four lattice values with weights in [0, 1], rounded at each step.
  constexpr double kSlack = 1e-15;
  if (finiteIn && !(value >= kLatticeMin - kSlack && value <= 1.0 + kSlack)) {
    Fail("SmoothNoise left the range of the lattice values", q.x, q.z, p);
  }
  if (finiteIn && q.x == std::floor(q.x) && q.z == std::floor(q.z) &&
      Bits(value) != Bits(LatticeValue(ReferenceCell(q.x) + 57u * ReferenceCell(q.z)))) {
    Fail("SmoothNoise at a lattice point is not its lattice value", q.x, q.z, p);
  }
}

Point ReadPoint(fuzz::Input& in) {
  const double x = in.Number();
  return {x, in.Number()};
}

}  // namespace

}  // namespace vellumor

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vellumor;
  fuzz::Input in(data, size);

  CheckLattice(in.U32());

  Parameters p;
  p.octaves = in.Number();
  p.amp = in.Number();
  p.freq = in.Number();
  p.h = in.Number();
  const int count = 1 + in.Byte() % kMaxPoints;
  Point points[kMaxPoints];
  double smallestReach = std::numeric_limits<double>::infinity();
  double largestReach = 0.0;
  for (int i = 0; i < count; ++i) {
    points[i] = ReadPoint(in);
    const double reach = fuzz::Reach(points[i].x * p.freq, points[i].z * p.freq);
    smallestReach = std::fmin(smallestReach, reach);  // NaN left out
    largestReach = std::fmax(largestReach, reach);
  }
  p.octaves = fuzz::AffordableOctaves(p.octaves, p.amp, p.h, smallestReach, largestReach);
  if (fuzz::Tracing()) {
    std::fprintf(stderr, "octaves %.17g amp %.17g freq %.17g h %.17g\n", p.octaves, p.amp, p.freq, p.h);
  }

  for (int i = 0; i < count; ++i) {
    const Point& q = points[i];
    if (fuzz::Tracing()) std::fprintf(stderr, "point %.17g %.17g\n", q.x, q.z);
    const double height = TerrainHeight(q.x, q.z, p.octaves, p.amp, p.freq, p.h);
    const ReferenceHeight expected = ReferenceTerrainHeight(q.x, q.z, p.octaves, p.amp, p.freq, p.h);
    if (!SameValue(height, expected.height)) {
      char what[96];
      std::snprintf(what, sizeof what, "TerrainHeight %.17g differs from the plain sum %.17g", height,
                    expected.height);
      Fail(what, q.x, q.z, p);
    }
    if (std::isnan(height) && !expected.nonFiniteTerm) {
      Fail("TerrainHeight is NaN where every summed amplitude and coordinate is finite", q.x, q.z, p);
    }
    CheckNoise(q, p);
  }
  return 0;
}

#include "terrain/grid_sampler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "terrain/face_normal.h"
#include "terrain/lattice.h"

namespace vellumor {

namespace {

// (A - P) x (B - P) for the face at column j of a row: P its sample, A the
// next row's, B the next column's.
inline Vec3 FaceCross(const double* __restrict xs, double z, double zNext, const double* __restrict here,
                      const double* __restrict next, std::size_t j) {
  // x - x and z - z, not 0: FaceNormal's a.x - p.x and b.z - p.z, kept term for term so both agree bit for bit.
  const double ax = xs[j] - xs[j];
  const double ay = next[j] - here[j];
  const double az = zNext - z;
  const double bx = xs[j + 1] - xs[j];
  const double by = here[j + 1] - here[j];
  const double bz = z - z;
  return {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
}

// The face normals of one row (columns 1 .. columns - 2) from its heights and
// the next row's, as Terrain::FaceNormal computes them from the samples:
// (A - P) x (B - P), normalised. Face j's x, y and z go to faces[3 * j] on.
// kWatch: whether some cross product may overflow or underflow on the way
// (see FacesStayInRange); watching costs about a twentieth of the grid's time.
template <bool kWatch>
void FaceRow(std::size_t columns, const double* __restrict xs, double z, double zNext,
             const double* __restrict here, const double* __restrict next, double* __restrict faces) {
  // 1 once a face's cross product has overflowed or underflowed; a double
  // set by a select, which the vector loop can carry.
  double awkward = 0.0;
  for (std::size_t j = 1; j + 2 <= columns; ++j) {
    const Vec3 c = FaceCross(xs, z, zNext, here, next, j);
    const double squared = 0.0 + c.x * c.x + c.y * c.y + c.z * c.z;
    const double length = std::sqrt(squared);
    // Selected rather than branched on, so that the loop runs in vector registers.
    const bool zero = length == 0.0;
    const double s = 1.0 / length;
    const double ux = s * c.x;
    const double uy = s * c.y;
    const double uz = s * c.z;
    faces[3 * j] = zero ? c.x : ux;
    faces[3 * j + 1] = zero ? c.y : uy;
    faces[3 * j + 2] = zero ? c.z : uz;
    if constexpr (kWatch) {
      awkward = NormalisesDirectly(squared) ? awkward : 1.0;
    }
  }
  if (awkward == 0.0) return;
  // Faces so large or so steep that their cross product overflowed or underflowed.
  for (std::size_t j = 1; j + 2 <= columns; ++j) {
    const Vec3 c = FaceCross(xs, z, zNext, here, next, j);
    if (NormalisesDirectly(0.0 + c.x * c.x + c.y * c.y + c.z * c.z)) continue;
    const Vec3 f = ScaledFaceNormal({xs[j], here[j], z}, {xs[j], next[j], zNext}, {xs[j + 1], here[j + 1], z});
    faces[3 * j] = f.x;
    faces[3 * j + 1] = f.y;
    faces[3 * j + 2] = f.z;
  }
}

// Whether no face of the grid can overflow or underflow on the direct way,
// every height being at most heightBound in size. Within 2^40 units u of the
// origin, neighbouring samples lie between u / 2 and 2u apart (the rounding
// of their coordinates is below u / 1000), so each face's edges have x or z
// in [u / 2, 2u] and y below 3 heightBound. Its cross product's squared
// length then lies between u^4 / 16 (its y squared) and 120 u^2 max(H, u)^2,
// within the doubles' normal range where u >= 2^-250 and u max(H, u) <= 2^500.
// Where some heights are NaN, their faces come out NaN either way.
bool FacesStayInRange(const GridLayout& grid, double heightBound) {
  const double u = grid.unit;
  const double xLast = grid.x0 + static_cast<double>(grid.columns - 1) * u;
  const double zLast = grid.z0 + static_cast<double>(grid.rows) * u;
  const double reach = std::max({std::fabs(grid.x0), std::fabs(xLast), std::fabs(grid.z0), std::fabs(zLast)});
  return u >= 0x1p-250 && reach <= 0x1p40 * u && u * std::max(heightBound, u) <= 0x1p500;
}

// The normals of one drawn row (columns 1 .. columns - 3): each sample takes
// the mean of the faces (i, j + 1), (i, j), (i + 1, j) and (i + 1, j + 1),
// summed in that order. Faces and normals are laid out alike, three doubles
// a column, so each component is one element-wise sum.
void NormalRow(std::size_t columns, const double* __restrict faces, const double* __restrict nextFaces,
               double* __restrict normals) {
  for (std::size_t k = 3; k + 7 <= 3 * columns; ++k) {
    normals[k] = 0.25 * (faces[k + 3] + faces[k] + nextFaces[k] + nextFaces[k + 3]);
  }
}

}  // namespace

void GridSampler::Sample(const GridLayout& grid, const NoiseParameters& noise, double* vertices, double* normals) {
  Prepare(grid, noise);
  SumOctaves(noise);
  WriteVertices(vertices);
  WriteNormals(normals);
}

void GridSampler::Prepare(const GridLayout& grid, const NoiseParameters& noise) {
  const std::size_t columns = static_cast<std::size_t>(std::max(grid.columns, 0));
  // Growing first, so that a failure leaves before anything is written.
  columnX.resize(columns);
  columnXf.resize(columns);
  columnCells.resize(kBlock * columns);
  columnWeights.resize(kBlock * columns);
  rowBlends0.resize(kBlock * columns);
  rowBlends1.resize(kBlock * columns);
  heights.resize(columns * (static_cast<std::size_t>(std::max(grid.rows, 0)) + 1));
  faceRows.resize(6 * columns);
  layout = grid;
  columnCount = columns;
  for (std::size_t j = 0; j < columns; ++j) {
    columnX[j] = grid.x0 + static_cast<double>(j) * grid.unit;
    columnXf[j] = columnX[j] * noise.freq;
  }
}

// The octaves of TerrainHeight, in its order, a block at a time, added to
// sums that start at one, until they reach the octave count or no further
// octave can change any sample's sum.
void GridSampler::SumOctaves(const NoiseParameters& noise) {
  std::fill(heights.begin(), heights.end(), 1.0);
  // x * freq and z * freq are monotonic along the grid, so the ends hold the largest magnitudes.
  const double zLast = layout.z0 + static_cast<double>(layout.rows) * layout.unit;
  const double largestXf =
      columnCount == 0 ? 0.0 : std::max(std::fabs(columnXf.front()), std::fabs(columnXf.back()));
  const double largestZf = std::max(std::fabs(layout.z0 * noise.freq), std::fabs(zLast * noise.freq));
  const OctaveReach reach{noise.octaves, noise.h, largestXf, largestZf};

  double k = 1.0;
  double a = noise.amp;
  // Each octave adds its amplitude times a noise value at most 1 in size (a
  // few roundings aside, which the doubling covers).
  double amplitudes = 0.0;
  bool more = noise.octaves >= k && !OctavesSettled(1.0, a, reach);
  while (more) {
    OctaveBlock block;
    for (; block.count < kBlock && noise.octaves >= k; ++block.count, k += 1.0, a = a * noise.h) {
      block.k[block.count] = k;
      block.a[block.count] = a;
      amplitudes = amplitudes + std::fabs(a);
    }
    AddBlock(block, noise.freq);
    more = noise.octaves >= k && !OctavesSettled(SmallestSum(), a, reach);
  }
  heightBound = 2.0 * (1.0 + amplitudes);
}

void GridSampler::WriteVertices(double* __restrict vertices) const {
  const double* __restrict xs = columnX.data();
  for (std::int32_t i = 0; i <= layout.rows; ++i) {
    const double z = layout.z0 + static_cast<double>(i) * layout.unit;
    const double* __restrict y = heights.data() + static_cast<std::size_t>(i) * columnCount;
    double* __restrict v = vertices + 3 * static_cast<std::size_t>(i) * columnCount;
    for (std::size_t j = 0; j < columnCount; ++j) {
      v[3 * j] = xs[j];
      v[3 * j + 1] = y[j];
      v[3 * j + 2] = z;
    }
  }
}

// Face normals row by row, and the drawn normals one row behind them, with
// two rows of faces kept at a time.
void GridSampler::WriteNormals(double* normals) {
  const auto row = [this](std::int32_t i) { return heights.data() + static_cast<std::size_t>(i) * columnCount; };
  const auto rowZ = [this](std::int32_t i) { return layout.z0 + static_cast<double>(i) * layout.unit; };
  const auto faces = [this](std::int32_t i) {
    return faceRows.data() + static_cast<std::size_t>(i & 1) * 3 * columnCount;
  };
  const auto faceRow = FacesStayInRange(layout, heightBound) ? FaceRow<false> : FaceRow<true>;
  for (std::int32_t i = 1; i <= layout.rows - 1; ++i) {
    faceRow(columnCount, columnX.data(), rowZ(i), rowZ(i + 1), row(i), row(i + 1), faces(i));
    if (i >= 2) {
      NormalRow(columnCount, faces(i - 1), faces(i), normals + 3 * static_cast<std::size_t>(i - 1) * columnCount);
    }
  }
}

void GridSampler::PrepareColumns(const OctaveBlock& block) {
  for (int b = 0; b < block.count; ++b) {
    const double k = block.k[b];
    std::uint32_t* cells = columnCells.data() + b * columnCount;
    double* weights = columnWeights.data() + b * columnCount;
    for (std::size_t j = 0; j < columnCount; ++j) {
      const double x = k * columnXf[j];
      const double floorX = std::floor(x);
      cells[j] = WrappedCell(floorX);
      weights[j] = CosineWeight(x - floorX);
    }
    blendRowValid[b] = false;
  }
}

// Blends every column along x on the lattice rows iz and iz + 1, once for as
// many sample rows as share them. Neighbouring columns share a cell, so the
// corner values are hashed only where the cell changes.
void GridSampler::RefreshBlends(int octave, std::uint32_t iz) {
  const std::size_t offset = static_cast<std::size_t>(octave) * columnCount;
  const std::uint32_t* cells = columnCells.data() + offset;
  const double* weights = columnWeights.data() + offset;
  double* blends0 = rowBlends0.data() + offset;
  double* blends1 = rowBlends1.data() + offset;
  std::uint32_t cell = 0;
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
  double d = 0.0;
  for (std::size_t j = 0; j < columnCount; ++j) {
    if (j == 0 || cells[j] != cell) {
      cell = cells[j];
      const std::uint32_t n = cell + 57u * iz;
      a = LatticeValue(n);
      b = LatticeValue(n + 1u);
      c = LatticeValue(n + 57u);
      d = LatticeValue(n + 58u);
    }
    const double sx = weights[j];
    blends0[j] = (1.0 - sx) * a + sx * b;
    blends1[j] = (1.0 - sx) * c + sx * d;
  }
  blendRow[octave] = iz;
  blendRowValid[octave] = true;
}

void GridSampler::AddOctaves(const OctaveBlock& block, double z, double freq, double* acc) {
  const double zf = z * freq;
  for (int b = 0; b < block.count; ++b) {
    const double zk = block.k[b] * zf;
    const double floorZ = std::floor(zk);
    const std::uint32_t iz = WrappedCell(floorZ);
    const double sz = CosineWeight(zk - floorZ);
    if (!blendRowValid[b] || blendRow[b] != iz) {
      RefreshBlends(b, iz);
    }
    const double oneMinusSz = 1.0 - sz;
    const double amplitude = block.a[b];
    const std::size_t offset = static_cast<std::size_t>(b) * columnCount;
    const double* __restrict blends0 = rowBlends0.data() + offset;
    const double* __restrict blends1 = rowBlends1.data() + offset;
    double* __restrict sums = acc;
    for (std::size_t j = 0; j < columnCount; ++j) {
      sums[j] = sums[j] + amplitude * (blends0[j] * oneMinusSz + sz * blends1[j]);
    }
  }
}

// Adds a block of octaves to every sample's sum.
void GridSampler::AddBlock(const OctaveBlock& block, double freq) {
  PrepareColumns(block);
  double* sums = heights.data();
  for (std::int32_t i = 0; i <= layout.rows; ++i, sums += columnCount) {
    AddOctaves(block, layout.z0 + static_cast<double>(i) * layout.unit, freq, sums);
  }
}

// The smallest magnitude of a sum that is not NaN (NaN when there is none).
double GridSampler::SmallestSum() const {
  double smallest = std::numeric_limits<double>::infinity();
  bool number = false;
  for (const double sum : heights) {
    const double size = std::fabs(sum);
    smallest = size < smallest ? size : smallest;  // NaN never counts
    number = number || !std::isnan(sum);
  }
  return number ? smallest : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace vellumor

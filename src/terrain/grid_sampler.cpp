#include "terrain/grid_sampler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "terrain/lattice.h"

namespace {

// The face normals of one row (columns 1 .. columns - 2) from its heights and
// the next row's, as Terrain::FaceNormal computes them from the samples:
// (A - P) x (B - P), normalised.
void FaceRow(std::size_t columns, const double* __restrict xs, double z, double zNext,
             const double* __restrict here, const double* __restrict next, double* __restrict fx,
             double* __restrict fy, double* __restrict fz) {
  for (std::size_t j = 1; j + 2 <= columns; ++j) {
    const double ax = xs[j] - xs[j];
    const double ay = next[j] - here[j];
    const double az = zNext - z;
    const double bx = xs[j + 1] - xs[j];
    const double by = here[j + 1] - here[j];
    const double bz = z - z;
    const double x = ay * bz - az * by;
    const double y = az * bx - ax * bz;
    const double w = ax * by - ay * bx;
    const double length = std::sqrt(0.0 + x * x + y * y + w * w);
    // Selected rather than branched on, so that the loop runs in vector registers.
    const bool zero = length == 0.0;
    const double s = 1.0 / length;
    const double ux = s * x;
    const double uy = s * y;
    const double uz = s * w;
    fx[j] = zero ? x : ux;
    fy[j] = zero ? y : uy;
    fz[j] = zero ? w : uz;
  }
}

// The normals of one drawn row (columns 1 .. columns - 3), interleaved into
// that row of normals: each sample takes the mean of the faces (i, j + 1),
// (i, j), (i + 1, j) and (i + 1, j + 1), summed in that order.
void NormalRow(std::size_t columns, const double* faces, const double* nextFaces, double* n) {
  const double* fx = faces;
  const double* fy = faces + columns;
  const double* fz = faces + 2 * columns;
  const double* gx = nextFaces;
  const double* gy = nextFaces + columns;
  const double* gz = nextFaces + 2 * columns;
  for (std::size_t j = 1; j + 3 <= columns; ++j) {
    n[3 * j] = 0.25 * (fx[j + 1] + fx[j] + gx[j] + gx[j + 1]);
    n[3 * j + 1] = 0.25 * (fy[j + 1] + fy[j] + gy[j] + gy[j + 1]);
    n[3 * j + 2] = 0.25 * (fz[j + 1] + fz[j] + gz[j] + gz[j + 1]);
  }
}

}  // namespace

void GridSampler::Sample(const GridLayout& grid, const NoiseParameters& noise, double* vertices, double* normals) {
  const std::size_t columns = static_cast<std::size_t>(std::max(grid.columns, 0));
  // Growing first, so that a failure leaves before anything is written.
  columnX.resize(columns);
  columnXf.resize(columns);
  columnCells.resize(kBlock * columns);
  columnWeights.resize(kBlock * columns);
  rowBlends0.resize(kBlock * columns);
  rowBlends1.resize(kBlock * columns);
  sumRows.resize(2 * columns);
  faceRows.resize(6 * columns);
  layout = grid;
  columnCount = columns;

  for (std::size_t j = 0; j < columns; ++j) {
    columnX[j] = grid.x0 + static_cast<double>(j) * grid.unit;
    columnXf[j] = columnX[j] * noise.freq;
  }
  // x * freq and z * freq are monotonic along the grid, so the ends hold the largest magnitudes.
  const double zLast = grid.z0 + static_cast<double>(grid.rows) * grid.unit;
  const double largestXf = columns == 0 ? 0.0 : std::max(std::fabs(columnXf.front()), std::fabs(columnXf.back()));
  const double largestZf = std::max(std::fabs(grid.z0 * noise.freq), std::fabs(zLast * noise.freq));

  // The octaves of TerrainHeight, in its order, a block at a time. The sum
  // ends where no further octave can change any sample's sum.
  double k = 1.0;
  double a = noise.amp;
  bool first = true;
  bool done = false;
  while (!done) {
    OctaveBlock block;
    while (!done && block.count < kBlock && noise.octaves >= k) {
      block.k[block.count] = k;
      block.a[block.count] = a;
      ++block.count;
      // A NaN amplitude makes every sum NaN; a zero one leaves every sum as it is.
      done = std::isnan(a);
      a = a * noise.h;
      k += 1.0;
      // With a zero amplitude the sums themselves do not matter.
      done = done || (a == 0.0 && SumSettled(0.0, a, noise.h, noise.octaves, largestXf, largestZf));
    }
    done = done || !(noise.octaves >= k);
    const double smallestSum = RunBlock(block, noise, first, done, vertices, normals);
    first = false;
    if (!done && std::fabs(a) < smallestSum * 0x1p-56 &&
        SumSettled(smallestSum, a, noise.h, noise.octaves, largestXf, largestZf)) {
      // Every sum is settled (NaN ones too): what remains is the normals.
      RunBlock(OctaveBlock{}, noise, false, true, vertices, normals);
      done = true;
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
      a = LatticeValueAt(n);
      b = LatticeValueAt(n + 1u);
      c = LatticeValueAt(n + 57u);
      d = LatticeValueAt(n + 58u);
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

// Adds a block of octaves to every sample's sum and writes the vertices; the
// last block also computes the normals. Returns the smallest magnitude of a
// sum that is not NaN (infinity when there is none).
double GridSampler::RunBlock(const OctaveBlock& block, const NoiseParameters& noise, bool first, bool last,
                             double* vertices, double* normals) {
  PrepareColumns(block);
  double smallest = std::numeric_limits<double>::infinity();
  const std::int32_t rows = layout.rows;
  for (std::int32_t i = 0; i <= rows; ++i) {
    const double z = layout.z0 + static_cast<double>(i) * layout.unit;
    double* acc = sumRows.data() + static_cast<std::size_t>(i & 1) * columnCount;
    double* v = vertices + 3 * static_cast<std::size_t>(i) * columnCount;
    if (first) {
      std::fill(acc, acc + columnCount, 1.0);
    } else {
      for (std::size_t j = 0; j < columnCount; ++j) acc[j] = v[3 * j + 1];
    }
    AddOctaves(block, z, noise.freq, acc);
    for (std::size_t j = 0; j < columnCount; ++j) {
      v[3 * j] = columnX[j];
      v[3 * j + 1] = acc[j];
      v[3 * j + 2] = z;
    }
    if (!last) {
      for (std::size_t j = 0; j < columnCount; ++j) {
        const double size = std::fabs(acc[j]);
        smallest = size < smallest ? size : smallest;  // NaN never counts
      }
      continue;
    }
    if (normals == nullptr) {
      continue;
    }
    // Behind the heights by one row, the faces; behind those by one more, the normals.
    const std::int32_t faceRow = i - 1;
    if (faceRow >= 1 && faceRow <= rows - 1) {
      const double* here = sumRows.data() + static_cast<std::size_t>(faceRow & 1) * columnCount;
      double* faces = faceRows.data() + static_cast<std::size_t>(faceRow & 1) * 3 * columnCount;
      FaceRow(columnCount, columnX.data(), layout.z0 + static_cast<double>(faceRow) * layout.unit, z, here, acc, faces,
              faces + columnCount, faces + 2 * columnCount);
    }
    const std::int32_t normalRow = i - 2;
    if (normalRow >= 1 && normalRow <= rows - 2) {
      NormalRow(columnCount, faceRows.data() + static_cast<std::size_t>(normalRow & 1) * 3 * columnCount,
                faceRows.data() + static_cast<std::size_t>(faceRow & 1) * 3 * columnCount,
                normals + 3 * static_cast<std::size_t>(normalRow) * columnCount);
    }
  }
  return smallest;
}

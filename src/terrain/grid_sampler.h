#pragma once
// The terrain grid's heights and normals with the work shared along rows and
// columns. Every sample of column j has the same x and every sample of row i
// the same z, so each octave's cell and cosine weight is worked out once per
// column and once per row, the lattice values once per cell and lattice row,
// and a sample costs one blend per octave. Heights and normals come out bit
// for bit as TerrainHeight and the face normals give them sample by sample.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellumor {

// A snapped grid: sample (i, j) lies at x = x0 + j * unit, z = z0 + i * unit.
struct GridLayout {
  double x0 = 0.0;
  double z0 = 0.0;
  double unit = 0.0;
  std::int32_t columns = 0;  // samples per row
  std::int32_t rows = 0;     // row steps: rows + 1 sample rows
};

// The height function's parameters, as TerrainHeight takes them.
struct NoiseParameters {
  double octaves = 0.0;
  double amp = 0.0;
  double freq = 0.0;
  double h = 0.0;
};

class GridSampler {
 public:
  // Writes x, y, z of every sample into vertices and the normals of the
  // drawn samples (rows 1 .. rows - 2, columns 1 .. columns - 3) into
  // normals; each holds 3 * columns * (rows + 1) doubles. The scratch keeps
  // its capacity from grid to grid, so a steady view allocates nothing; when
  // it cannot grow, std::bad_alloc or std::length_error leaves before any
  // sample is written.
  void Sample(const GridLayout& grid, const NoiseParameters& noise, double* vertices, double* normals);

 private:
  // Octaves are summed in blocks of this many, so that the per-column
  // scratch stays bounded for any octave count.
  static constexpr int kBlock = 8;

  struct OctaveBlock {
    int count = 0;
    double k[kBlock] = {};  // octave numbers
    double a[kBlock] = {};  // their amplitudes
  };

  void Prepare(const GridLayout& grid, const NoiseParameters& noise);
  void SumOctaves(const NoiseParameters& noise);
  void WriteVertices(double* vertices) const;
  void WriteNormals(double* normals);

  void PrepareColumns(const OctaveBlock& block);
  void RefreshBlends(int octave, std::uint32_t iz);
  void AddOctaves(const OctaveBlock& block, double z, double freq, double* acc);
  void AddBlock(const OctaveBlock& block, double freq);
  double SmallestSum() const;

  GridLayout layout;
  std::size_t columnCount = 0;
  std::vector<double> columnX;             // x of each column
  std::vector<double> columnXf;            // x * freq of each column
  // Per octave of the block, then per column:
  std::vector<std::uint32_t> columnCells;  // the cell along x
  std::vector<double> columnWeights;       // its cosine weight sx
  std::vector<double> rowBlends0;          // (1 - sx) * A + sx * B on lattice row blendRow
  std::vector<double> rowBlends1;          // (1 - sx) * C + sx * D on lattice row blendRow + 1
  std::uint32_t blendRow[kBlock] = {};
  bool blendRowValid[kBlock] = {};
  std::vector<double> heights;   // every sample's sum, row after row
  double heightBound = 0.0;      // no height is larger in size
  std::vector<double> faceRows;  // two rows of face normals, x, y and z for each column
};

}  // namespace vellumor

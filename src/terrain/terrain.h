#pragma once
// The terrain: its noise parameters and the grid rebuilt over the camera's
// frustum box every frame, drawn lit and smooth-shaded as triangle strips.

#include <cstdint>
#include <vector>

#include "geometry/bounding_box.h"
#include "terrain/grid_sampler.h"

namespace vellumor {

// The grid never holds more samples than this; a finer unit is gridded at
// the smallest power-of-two multiple of it that fits.
inline constexpr std::int64_t kMaxGridSamples = std::int64_t{1} << 22;

struct Terrain {
  double unit = 80.0;  // grid spacing along x and z
  double octaves = 2.0;
  double amp = 230.0;
  double freq = 0.0011;
  double h = 0.5;
  std::int32_t columns = 0;  // samples per row (along x)
  std::int32_t rows = 0;     // row steps along z: the grid holds rows + 1 sample rows
  BoundingBox bounds{};      // the region to cover; only x and z are used
  std::vector<double> vertices;  // x, y, z per sample, row after row
  std::vector<double> normals;   // same indexing as vertices; only the drawn samples' are meaningful
  GridSampler sampler;           // the grid's scratch, kept from frame to frame

  // Builds the grid for bounds and draws it with the current GL matrices.
  void Draw();
  // Unit normal of the cell whose first corner is sample (i, j).
  Vec3 FaceNormal(std::int32_t i, std::int32_t j) const;
};

// Snaps bounds to the grid with its margin, sets columns and rows and sizes
// both arrays; layout receives the grid actually used, which is coarser than
// unit where the sample cap demands it. False when there is nothing to draw
// (empty, non-finite or inverted bounds, a non-finite or non-positive unit,
// storage that cannot be had); columns and rows are then 0, except for an
// empty box, which leaves everything as it was.
bool LayOutGrid(Terrain& terrain, GridLayout& layout);

// LayOutGrid, then the heights of every sample and the normals of the drawn
// ones: everything of Draw but the GL calls. False when there is nothing to draw.
bool BuildGrid(Terrain& terrain);

}  // namespace vellumor

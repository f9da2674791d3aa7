#pragma once
// The terrain grid evaluated the direct way: TerrainHeight once per sample
// and Terrain::FaceNormal once per face. BuildGrid must give the same bits,
// much faster; the tests and the fuzzer compare the two through CompareGrids,
// and the benchmarks time one against the other.

#include <string>

#include "terrain/terrain.h"

namespace vellumor {

// The same contract as BuildGrid.
bool BuildGridPlain(Terrain& terrain);

struct GridComparison {
  Terrain fast;   // built by BuildGrid
  Terrain plain;  // built by BuildGridPlain
  bool built = false;
  int nanHeights = 0;   // heights of the grid that are NaN
  std::string problem;  // what differs; empty where they agree
};

// Builds params' grid both ways. They agree where both build or both refuse,
// with the same columns and rows; a built grid's arrays hold exactly its
// samples; every vertex and every drawn normal has the same bits in both (any
// NaN matching any NaN: its payload depends on the order in which the
// compiler hands an addition its operands); and every drawn normal whose
// samples around it are all finite is the mean of four unit normals that face
// up (finite, y >= 0, at most 1 long), however long the edges.
GridComparison CompareGrids(const Terrain& params);

}  // namespace vellumor

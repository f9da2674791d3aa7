#pragma once
// The terrain grid evaluated the direct way: TerrainHeight once per sample
// and Terrain::FaceNormal once per face. BuildGrid must give the same bits,
// much faster; tests, fuzzers and benchmarks hold it against this one.

#include "terrain/terrain.h"

namespace vellumor {

// The same contract as BuildGrid.
bool BuildGridPlain(Terrain& terrain);

}  // namespace vellumor

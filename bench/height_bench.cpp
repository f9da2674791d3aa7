// The height function over the walk the terrain grid makes every frame, beside
// libnoise's Perlin noise with the same octave count over the same walk: one
// TerrainHeight call per sample, and the grid sampler's heights (with the
// normals it computes beside them) for the same samples, all in one run.

#include <benchmark/benchmark.h>
#include <noise.h>

#include <vector>

#include "terrain/grid_sampler.h"
#include "terrain/height.h"

namespace vellumor {

namespace {

constexpr int kSide = 200;         // samples per row and rows per grid
constexpr double kSpacing = 80.0;  // the default grid unit
constexpr double kOrigin = -8000.0;
constexpr double kFreq = 0.0011;
constexpr int kOctaves = 2;

// Row by row along x, as the grid samples its heights.
template <typename Sample>
void WalkGrid(benchmark::State& state, Sample sample) {
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i < kSide; ++i) {
      const double z = kOrigin + i * kSpacing;
      for (int j = 0; j < kSide; ++j) {
        sum += sample(kOrigin + j * kSpacing, z);
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_TerrainHeight(benchmark::State& state) {
  WalkGrid(state, [](double x, double z) { return TerrainHeight(x, z, kOctaves, 230, kFreq, 0.5); });
}
BENCHMARK(BM_TerrainHeight);

void BM_LibnoisePerlin(benchmark::State& state) {
  noise::module::Perlin perlin;
  perlin.SetOctaveCount(kOctaves);
  WalkGrid(state, [&perlin](double x, double z) { return perlin.GetValue(x * kFreq, 0.0, z * kFreq); });
}
BENCHMARK(BM_LibnoisePerlin);

// The same samples as one grid: what a frame pays per sample, normals included.
void BM_GridHeightsAndNormals(benchmark::State& state) {
  const GridLayout grid{kOrigin, kOrigin, kSpacing, kSide, kSide - 1};
  const NoiseParameters noise{kOctaves, 230, kFreq, 0.5};
  std::vector<double> vertices(3 * kSide * kSide);
  std::vector<double> normals(3 * kSide * kSide);
  GridSampler sampler;
  for (auto _ : state) {
    sampler.Sample(grid, noise, vertices.data(), normals.data());
    benchmark::DoNotOptimize(vertices.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_GridHeightsAndNormals);

}  // namespace

}  // namespace vellumor

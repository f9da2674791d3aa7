// The height function over the walk the terrain grid makes every frame, beside
// libnoise's Perlin noise with the same octave count over the same walk.

#include <benchmark/benchmark.h>
#include <noise.h>

#include "terrain/height.h"

namespace {

constexpr int kSide = 200;         // samples per row and rows per grid
constexpr double kSpacing = 80.0;  // the default grid unit
constexpr double kOrigin = -8000.0;
constexpr double kFreq = 0.0011;

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
  WalkGrid(state, [](double x, double z) { return TerrainHeight(x, z, 2, 230, kFreq, 0.5); });
}
BENCHMARK(BM_TerrainHeight);

void BM_LibnoisePerlin(benchmark::State& state) {
  noise::module::Perlin perlin;
  perlin.SetOctaveCount(2);
  WalkGrid(state, [&perlin](double x, double z) { return perlin.GetValue(x * kFreq, 0.0, z * kFreq); });
}
BENCHMARK(BM_LibnoisePerlin);

}  // namespace

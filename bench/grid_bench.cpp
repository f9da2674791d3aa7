// The whole grid build (heights and normals, no GL) over the default view's
// frustum box, the fast way and the direct way, per sample, at the grid units
// the keys give, with the default two octaves and with six.

#include <benchmark/benchmark.h>

#include <memory>

#include "terrain/terrain.h"
#include "terrain/terrain_scene.h"
#include "testing/plain_grid.h"

namespace vellumor {

namespace {

// The terrain as it stands after the program's first frame, at this unit and octave count.
Terrain DefaultViewTerrain(double unit, double octaves) {
  const auto scene = std::make_unique<TerrainScene>();
  scene->Update(0.016, 0.016);
  Terrain terrain;
  terrain.bounds = scene->camera.bounds;
  terrain.unit = unit;
  terrain.octaves = octaves;
  return terrain;
}

template <bool (*Build)(Terrain&)>
void GridBuild(benchmark::State& state) {
  Terrain terrain = DefaultViewTerrain(static_cast<double>(state.range(0)), static_cast<double>(state.range(1)));
  if (!Build(terrain)) {
    state.SkipWithError("no grid");
    return;
  }
  for (auto _ : state) {
    Build(terrain);
    benchmark::DoNotOptimize(terrain.vertices.data());
    benchmark::DoNotOptimize(terrain.normals.data());
    benchmark::ClobberMemory();
  }
  const double samples = static_cast<double>(terrain.columns) * (terrain.rows + 1);
  state.counters["samples"] = samples;
  // Seconds per sample, shown with an SI prefix: 5.1n is 5.1 ns.
  state.counters["per_sample"] =
      benchmark::Counter(samples, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_GridBuild(benchmark::State& state) { GridBuild<BuildGrid>(state); }
void BM_GridBuildPlain(benchmark::State& state) { GridBuild<BuildGridPlain>(state); }

void GridArguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"unit", "octaves"});
  for (int unit : {80, 40, 20, 10}) b->Args({unit, 2});
  b->Args({80, 6});
  b->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_GridBuild)->Apply(GridArguments);
BENCHMARK(BM_GridBuildPlain)->Apply(GridArguments);

}  // namespace

}  // namespace vellumor

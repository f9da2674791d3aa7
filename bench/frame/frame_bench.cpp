// One frame of the viewer on a real GL context: the program's own RenderFrame
// (scene update, clear, view, terrain, water, frustum, text overlay, glFinish)
// at the default view, then the buffer swap. Beside it, per frame: the grid
// build alone (and the direct evaluation's, for comparison) and the scene
// update alone, so that the CPU's share of the frame can be read off.
//
//   vellumor_frame_bench [--mmap-threshold=BYTES] [--trim-threshold=BYTES] [--frames-only]
//                        [benchmark flags]
//
// --frames-only leaves out the separate measurements, so that a profiler
// sees nothing but frames.
// The window, its GL context and the overlay's font are the SDL layer's own.
// Needs a display (Xvfb will do); with LIBGL_ALWAYS_SOFTWARE=1 Mesa draws on the CPU.

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/frame.h"
#include "app/globals.h"
#include "app/shell_state.h"
#include "frame/bench_platform.h"
#include "platform/platform.h"
#include "terrain/terrain.h"
#include "testing/plain_grid.h"

namespace vellumor {
namespace {

bool framesOnly = false;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

// Minor page faults and kernel time of the whole process (GL threads too) so far.
struct Usage {
  double faults = 0.0;
  double systemSeconds = 0.0;
};

Usage ProcessUsage() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return {static_cast<double>(usage.ru_minflt),
          static_cast<double>(usage.ru_stime.tv_sec) + 1e-6 * static_cast<double>(usage.ru_stime.tv_usec)};
}

void BM_Frame(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  if (!benchplatform::Resize(width, height)) {
    state.SkipWithError(platform::FailureReason());
    return;
  }
  terrainScene.terrain.unit = static_cast<double>(state.range(2));
  for (int warm = 0; warm < 5; ++warm) {
    RenderFrame();
    platform::SwapBuffers();
  }

  double total = 0.0;
  double grid = 0.0;
  double plainGrid = 0.0;
  double update = 0.0;
  double swap = 0.0;
  double faults = 0.0;
  double kernel = 0.0;
  Terrain& terrain = terrainScene.terrain;
  for (auto _ : state) {
    const Usage before = ProcessUsage();
    const Clock::time_point start = Clock::now();
    RenderFrame();
    const Clock::time_point drawn = Clock::now();
    const Usage after = ProcessUsage();
    faults += after.faults - before.faults;
    kernel += after.systemSeconds - before.systemSeconds;
    platform::SwapBuffers();
    const Clock::time_point swapped = Clock::now();
    state.SetIterationTime(Seconds(start, drawn));
    total += Seconds(start, drawn);
    swap += Seconds(drawn, swapped);
    if (framesOnly) continue;
    // The frame's CPU work again, alone: the same grid and an update that
    // leaves the resting scene as it is.
    BuildGrid(terrain);
    const Clock::time_point built = Clock::now();
    terrainScene.Update(shell.frameClock.lastElapsed, 0.0);
    const Clock::time_point updated = Clock::now();
    BuildGridPlain(terrain);
    const Clock::time_point plain = Clock::now();

    grid += Seconds(swapped, built);
    update += Seconds(built, updated);
    plainGrid += Seconds(updated, plain);
  }

  // Per frame. Outside the GL driver the frame's CPU work is essentially the
  // update and the grid build; the text and the loop around the draw calls
  // are small beside them (a profile of --frames-only shows how small). The
  // rest of the frame is GL: the driver and the renderer.
  const double n = static_cast<double>(state.iterations());
  state.counters["samples"] = static_cast<double>(terrain.columns) * (terrain.rows + 1);
  state.counters["frame_ms"] = 1e3 * total / n;
  state.counters["swap_ms"] = 1e3 * swap / n;
  // What glibc's mmap threshold changes: pages mapped afresh, and zeroed by the kernel, every frame.
  state.counters["faults"] = faults / n;
  state.counters["kernel_ms"] = 1e3 * kernel / n;
  if (framesOnly) return;
  const double cpu = grid + update;
  state.counters["grid_ms"] = 1e3 * grid / n;
  state.counters["update_us"] = 1e6 * update / n;
  state.counters["gl_ms"] = 1e3 * (total - cpu) / n;
  state.counters["cpu_pct"] = 100.0 * cpu / total;
  // The same frame with the direct evaluation's grid build in place of the fast one.
  state.counters["plain_grid_ms"] = 1e3 * plainGrid / n;
  state.counters["plain_cpu_pct"] = 100.0 * (plainGrid + update) / (total - grid + plainGrid);
}

}  // namespace
}  // namespace vellumor

int main(int argc, char** argv) {
  using namespace vellumor;
  // glibc's malloc: by default a block above the mmap threshold (128 KiB at
  // first, raised as such blocks are freed) is mapped and unmapped each time,
  // and the heap's top is trimmed back past the trim threshold.
  std::string mallocSettings = "glibc defaults";
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::string mmapFlag = "--mmap-threshold=";
    const std::string trimFlag = "--trim-threshold=";
    if (arg == "--frames-only") {
      framesOnly = true;
    } else if (arg.rfind(mmapFlag, 0) == 0 || arg.rfind(trimFlag, 0) == 0) {
      const bool mmap = arg.rfind(mmapFlag, 0) == 0;
      const std::string bytes = arg.substr(mmap ? mmapFlag.size() : trimFlag.size());
      mallopt(mmap ? M_MMAP_THRESHOLD : M_TRIM_THRESHOLD, std::atoi(bytes.c_str()));
      mallocSettings = (mallocSettings == "glibc defaults" ? "" : mallocSettings + ", ") +
                       (mmap ? "mmap threshold " : "trim threshold ") + bytes;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  if (!benchplatform::OpenWindow()) {
    std::fprintf(stderr, "vellumor_frame_bench: %s\n", platform::FailureReason());
    return 1;
  }
  benchmark::AddCustomContext("gl_renderer", benchplatform::Renderer());
  benchmark::AddCustomContext("malloc", mallocSettings);

  for (const auto& size : {std::pair{256, 256}, std::pair{1280, 720}}) {
    for (int unit : {80, 40, 20}) {
      benchmark::RegisterBenchmark("BM_Frame", BM_Frame)
          ->Args({size.first, size.second, unit})
          ->ArgNames({"w", "h", "unit"})
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// The page's own work a frame, natively: the program's whole frame (grid,
// strips, overlay) through the GL subset into a backend that keeps nothing,
// at the grid units the 9 key steps through, at 256 by 256. What WebGL and
// the browser then do is measured in the browser (web_frame_time.py).

#include <benchmark/benchmark.h>

#include "app/frame.h"
#include "app/globals.h"
#include "app/shell_state.h"
#include "gl_over_webgl/backend.h"
#include "platform/web/font_glyphs.h"
#include "testing/fake_platform.h"

namespace vellumor::webgl {
namespace {

class DiscardingBackend final : public Backend {
 public:
  std::size_t triangles = 0;
  void Clear(bool, bool, const float*, float) override {}
  void Draw(const Batch& batch) override { triangles += batch.indexCount / 3; }
  DrawableSize Size() override { return {256, 256}; }
};

void BM_PageFrame(benchmark::State& state) {
  DiscardingBackend backend;
  SetBackend(&backend);
  shell.clientArea.clientWidth = 256;
  shell.clientArea.clientHeight = 256;
  shell.textOverlay.fontListBase = CompileGlyphLists(platform::kPlainDpi);
  InitView();
  StartFrameClock();
  terrainScene.terrain.unit = static_cast<double>(state.range(0));
  for (int frame = 0; frame < 3; ++frame) {
    fake::state.tick += 16;
    RenderFrame();
  }
  backend.triangles = 0;
  for (auto _ : state) {
    fake::state.tick += 16;
    RenderFrame();
  }
  state.counters["triangles"] = benchmark::Counter(static_cast<double>(backend.triangles), benchmark::Counter::kAvgIterations);
  SetBackend(nullptr);
}

BENCHMARK(BM_PageFrame)->Arg(80)->Arg(40)->Arg(20)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vellumor::webgl

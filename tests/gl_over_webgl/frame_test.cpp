// Frames of the real program through the subset: the core and the shell
// link against it as the web build does, and every part of the picture
// reaches the backend in the state the desktop draws it with; once steady,
// a frame allocates nothing.

#include <GL/gl.h>

#include "app/shell_state.h"
#include "app/frame.h"
#include "platform/web/font_glyphs.h"
#include "subset_fixture.h"
#include "testing/allocation_counter.h"
#include "testing/fake_platform.h"

namespace vellumor::webgl {
namespace {

bool ColorIs(const ShadedVertex& v, float r, float g, float b, float a) {
  return v.color[0] == r && v.color[1] == g && v.color[2] == b && v.color[3] == a;
}

void StartProgram() {
  shell.clientArea.clientWidth = 256;
  shell.clientArea.clientHeight = 256;
  shell.textOverlay.fontListBase = CompileGlyphLists(platform::kPlainDpi);
  InitView();
  StartFrameClock();
}

void NextFrame() {
  fake::state.tick += 16;
  RenderFrame();
}

TEST_F(SubsetTest, ProgramFrameDrawsEveryPartOfThePicture) {
  StartProgram();
  NextFrame();

  std::size_t terrain = 0, water = 0, text = 0, edges = 0, points = 0;
  for (const RecordedDraw& draw : backend.draws) {
    for (const ShadedVertex& v : draw.vertices) {
      if (draw.kind == Primitive::Lines) {
        ++edges;
        EXPECT_FALSE(draw.state.depthTest);  // the frustum is drawn over everything
      } else if (draw.kind == Primitive::Points) {
        ++points;
        EXPECT_EQ(draw.state.pointSize, 2.0f);
      } else if (ColorIs(v, 0, 0, 1, 0.5f)) {
        ++water;
        EXPECT_TRUE(draw.state.blend && draw.state.depthTest && !draw.state.depthWrite);
      } else if (ColorIs(v, 1, 1, 1, 0.5f)) {
        ++text;
        EXPECT_TRUE(draw.state.blend && !draw.state.depthTest);
      } else {
        ++terrain;  // lit with the default material under a white light: a grey from 0.04 to 0.84
        EXPECT_TRUE(v.color[0] == v.color[1] && v.color[1] == v.color[2] && v.color[3] == 1.0f);
        EXPECT_TRUE(v.color[0] >= 0.04f - 1e-6f && v.color[0] <= 0.84f + 1e-6f) << v.color[0];
        EXPECT_TRUE(draw.state.depthTest && draw.state.depthWrite);
      }
    }
  }
  EXPECT_GT(terrain, 3000u);
  EXPECT_EQ(water, 6u);
  EXPECT_EQ(edges, 2u * 4 * 6);  // every quad of the box, outlined
  EXPECT_EQ(points, 0u);  // the eye's point: at the eye, outside the clip volume
  EXPECT_GT(text, 6u * 9 * 4);  // nine lines of a few characters, each pixel run a quad
}

// Counts the vertices that reach it and keeps nothing.
class CountingBackend final : public Backend {
 public:
  std::size_t vertices = 0;
  void Clear(bool, bool, const float*, float) override {}
  void Draw(const Batch& batch) override { vertices += batch.vertexCount; }
  DrawableSize Size() override { return {256, 256}; }
};

TEST_F(SubsetTest, SteadyFrameAllocatesNothing) {
  CountingBackend counting;
  SetBackend(&counting);
  StartProgram();
  for (int frame = 0; frame < 3; ++frame) NextFrame();
  counting.vertices = 0;
  const std::size_t before = alloccount::Count();
  NextFrame();
  EXPECT_EQ(alloccount::Count(), before);
  EXPECT_GT(counting.vertices, 3000u);
}

}  // namespace
}  // namespace vellumor::webgl

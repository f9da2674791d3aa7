#pragma once
// The OpenGL subset's tests: a backend that records what reaches it, run
// through the vertex program's native twin, and a fixture that starts every
// test from OpenGL's initial state drawing into it.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "gl_over_webgl/backend.h"
#include "gl_over_webgl/vertex_program.h"

namespace vellumor::webgl {

// One run of a batch, its vertices through the vertex program.
struct RecordedDraw {
  Primitive kind = Primitive::Triangles;
  RasterState state;
  std::vector<ShadedVertex> vertices;  // in index order: each line's two, each triangle's three
};

class RecordingBackend final : public Backend {
 public:
  std::vector<RecordedDraw> draws;
  std::string calls;  // in order: "D" per run drawn; per clear "C" with the colour buffer, "Z" with the depth buffer
  DrawableSize size{256, 256};

  void Clear(bool color, bool depth, const float rgba[4], float depthValue) override;
  void Draw(const Batch& batch) override;
  DrawableSize Size() override { return size; }
};

class SubsetTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Every recorded shape of this kind in drawing order, N vertices each.
  template <std::size_t N>
  std::vector<std::array<ShadedVertex, N>> Shapes(Primitive kind) const {
    std::vector<std::array<ShadedVertex, N>> shapes;
    for (const RecordedDraw& draw : backend.draws) {
      if (draw.kind != kind) continue;
      for (std::size_t i = 0; i + N <= draw.vertices.size(); i += N) {
        std::array<ShadedVertex, N>& shape = shapes.emplace_back();
        for (std::size_t k = 0; k < N; ++k) shape[k] = draw.vertices[i + k];
      }
    }
    return shapes;
  }
  // The one point drawn (after glFinish), failing the test when there is not exactly one.
  ShadedVertex OnlyPoint() const;

  RecordingBackend backend;
};

// A case's description as a test name: letters and digits, the rest '_'.
std::string CaseName(const char* text);

// Four floats (a clip position or a colour) each within 1e-6 of the wanted values.
void ExpectNear4(const float* actual, std::array<double, 4> want);
#define EXPECT_VEC4_NEAR(actual, e0, e1, e2, e3) \
  do {                                           \
    SCOPED_TRACE(#actual);                       \
    ExpectNear4((actual), {(e0), (e1), (e2), (e3)}); \
  } while (0)

}  // namespace vellumor::webgl

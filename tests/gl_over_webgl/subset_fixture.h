#pragma once
// The OpenGL subset's tests: a backend that records what reaches it, and a
// fixture that starts every test from OpenGL's initial state drawing into it.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "gl_over_webgl/backend.h"

namespace vellumor::webgl {

struct RecordedDraw {
  Primitive kind = Primitive::Triangles;
  RasterState state;
  std::vector<Vertex> vertices;  // in index order: each line's two, each triangle's three
};

class RecordingBackend final : public Backend {
 public:
  std::vector<RecordedDraw> draws;
  std::string calls;  // in order: "D" per draw; per clear "C" with the colour buffer, "Z" with the depth buffer
  DrawableSize size{256, 256};

  void Clear(bool color, bool depth, const float rgba[4], float depthValue) override;
  void Draw(Primitive kind, const RasterState& state, const Vertex* vertices, std::size_t vertexCount,
            const std::uint16_t* indices, std::size_t indexCount) override;
  DrawableSize Size() override { return size; }
};

class SubsetTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Every recorded shape of this kind in drawing order, N vertices each.
  template <std::size_t N>
  std::vector<std::array<Vertex, N>> Shapes(Primitive kind) const {
    std::vector<std::array<Vertex, N>> shapes;
    for (const RecordedDraw& draw : backend.draws) {
      if (draw.kind != kind) continue;
      for (std::size_t i = 0; i + N <= draw.vertices.size(); i += N) {
        std::array<Vertex, N>& shape = shapes.emplace_back();
        for (std::size_t k = 0; k < N; ++k) shape[k] = draw.vertices[i + k];
      }
    }
    return shapes;
  }
  // The one point drawn (after glFinish), failing the test when there is not exactly one.
  Vertex OnlyPoint() const;

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

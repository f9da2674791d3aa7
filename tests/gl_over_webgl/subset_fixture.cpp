#include "subset_fixture.h"

#include <cctype>

#include "gl_over_webgl/context.h"

namespace vellumor::webgl {

void RecordingBackend::Clear(bool color, bool depth, const float*, float) {
  calls += std::string(color ? "C" : "") + (depth ? "Z" : "") + " ";
}

void RecordingBackend::Draw(Primitive kind, const RasterState& state, const Vertex* vertices, std::size_t vertexCount,
                            const std::uint16_t* indices, std::size_t indexCount) {
  RecordedDraw& draw = draws.emplace_back();
  draw.kind = kind;
  draw.state = state;
  for (std::size_t i = 0; i < indexCount; ++i) {
    EXPECT_LT(indices[i], vertexCount);
    if (indices[i] < vertexCount) draw.vertices.push_back(vertices[indices[i]]);
  }
  calls += "D ";
}

void SubsetTest::SetUp() {
  ResetContext();
  SetBackend(&backend);
}

void SubsetTest::TearDown() { SetBackend(nullptr); }

Vertex SubsetTest::OnlyPoint() const {
  const auto points = Shapes<1>(Primitive::Points);
  EXPECT_EQ(points.size(), 1u);
  return points.empty() ? Vertex{} : points[0][0];
}

void ExpectNear4(const float* actual, std::array<double, 4> want) {
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], want[i], 1e-6) << "component " << i;
}

std::string CaseName(const char* text) {
  std::string name;
  for (const char* p = text; *p != '\0'; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

}  // namespace vellumor::webgl

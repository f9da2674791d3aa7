#include "subset_fixture.h"

#include <cctype>

#include "gl_over_webgl/context.h"

namespace vellumor::webgl {

void RecordingBackend::Clear(bool color, bool depth, const float*, float) {
  calls += std::string(color ? "C" : "") + (depth ? "Z" : "") + " ";
}

void RecordingBackend::Draw(const Batch& batch) {
  for (std::size_t s = 0; s < batch.segmentCount; ++s) {
    const Segment& segment = batch.segments[s];
    RecordedDraw& draw = draws.emplace_back();
    draw.kind = segment.kind;
    draw.state = batch.raster;
    for (std::size_t i = segment.first; i < segment.first + segment.count; ++i) {
      const std::uint16_t index = batch.indices[i];
      EXPECT_LT(index, batch.vertexCount);
      if (index < batch.vertexCount) draw.vertices.push_back(RunVertexProgram(batch.shading, batch.vertices[index]));
    }
    calls += "D ";
  }
}

void SubsetTest::SetUp() {
  ResetContext();
  SetBackend(&backend);
}

void SubsetTest::TearDown() { SetBackend(nullptr); }

ShadedVertex SubsetTest::OnlyPoint() const {
  const auto points = Shapes<1>(Primitive::Points);
  EXPECT_EQ(points.size(), 1u);
  return points.empty() ? ShadedVertex{} : points[0][0];
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

#include "view/quad_mesh.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "support/vec3_checks.h"
#include "testing/allocation_counter.h"
#include "testing/recording_gl.h"

namespace vellumor {

namespace {

// The four corners of a quad, as drawn or as meant.
std::vector<Xyz> Drawn(const GlPrimitive& quad) {
  std::vector<Xyz> corners;
  for (const GlVertex& v : quad.vertices) corners.push_back(Of(v.position));
  return corners;
}
std::vector<Xyz> Meant(const Quad& quad, std::span<const Vec3> vertices) {
  std::vector<Xyz> corners;
  for (std::uint32_t k : quad) corners.push_back(Of(vertices[k]));
  return corners;
}

TEST(QuadMeshTest, DrawsEachQuadFromItsOwnCopies) {
  std::vector<Vec3> box, strip;
  std::vector<Quad> stripQuads;
  for (std::uint32_t i = 0; i < 8; ++i) box.push_back({double(i & 1), double((i >> 1) & 1), double(i >> 2)});
  for (std::uint32_t i = 0; i < 20; ++i) strip.push_back({double(i / 2), double(i % 2), -1.5});
  for (std::uint32_t q = 0; q < 9; ++q) stripQuads.push_back({2 * q, 2 * q + 1, 2 * q + 3, 2 * q + 2});

  // A box stays off the heap; a larger mesh spills onto it.
  recgl::Reset();
  std::size_t before = alloccount::Count();
  std::array<Quad, 6> faces = BoxFaces;
  const QuadMesh boxMesh(box, faces);
  EXPECT_EQ(alloccount::Count(), before);
  const QuadMesh stripMesh(strip, stripQuads);
  EXPECT_GT(alloccount::Count(), before);
  const std::vector<Vec3> boxCopy = box, stripCopy = strip;
  box[3] = strip[0] = {9, 9, 9};
  faces[0] = {7, 7, 7, 7};
  boxMesh.Draw();
  stripMesh.Draw();

  const std::vector<GlPrimitive>& quads = recgl::Primitives();
  ASSERT_EQ(quads.size(), 6u + 9u);
  for (std::size_t q = 0; q < 6; ++q) EXPECT_EQ(Drawn(quads[q]), Meant(BoxFaces[q], boxCopy));
  for (std::size_t q = 0; q < 9; ++q) EXPECT_EQ(Drawn(quads[6 + q]), Meant(stripQuads[q], stripCopy));
  for (const GlPrimitive& quad : quads) EXPECT_EQ(quad.mode, GLenum{GL_QUADS});
  EXPECT_FALSE(recgl::State().vertexArray);

  // No quads, nothing drawn, and the vertex array is left off all the same.
  recgl::Reset();
  glEnableClientState(GL_VERTEX_ARRAY);
  QuadMesh(box, {}).Draw();
  EXPECT_TRUE(recgl::Primitives().empty());
  EXPECT_FALSE(recgl::State().vertexArray);
}

}  // namespace

}  // namespace vellumor

#include "view/quad_mesh.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "testing/allocation_counter.h"
#include "testing/recording_gl.h"

namespace vellumor {

namespace {

// The indices, then the x, y, z of each indexed vertex, as the recording resolves them.
std::vector<double> Resolved(const Quad& quad, std::span<const Vec3> vertices) {
  std::vector<double> data(quad.begin(), quad.end());
  for (std::uint32_t k : quad) data.insert(data.end(), {vertices[k].x, vertices[k].y, vertices[k].z});
  return data;
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

  const std::vector<GlCall> draws = recgl::Named("glDrawElements");
  ASSERT_EQ(draws.size(), 6u + 9u);
  for (std::size_t q = 0; q < 6; ++q) EXPECT_EQ(draws[q].data, Resolved(BoxFaces[q], boxCopy));
  for (std::size_t q = 0; q < 9; ++q) EXPECT_EQ(draws[6 + q].data, Resolved(stripQuads[q], stripCopy));
  EXPECT_EQ(draws[0].args, (std::vector<double>{GL_QUADS, 4, GL_UNSIGNED_INT}));
  EXPECT_EQ(recgl::Named("glVertexPointer")[0].args, (std::vector<double>{3, GL_DOUBLE, 0}));
  EXPECT_FALSE(recgl::State().vertexArray);

  recgl::Reset();
  QuadMesh(box, {}).Draw();
  EXPECT_EQ(recgl::Names(), (std::vector<std::string>{"glEnableClientState", "glVertexPointer", "glDisableClientState"}));
}

}  // namespace

}  // namespace vellumor

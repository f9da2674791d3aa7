#pragma once
// A mesh of quads drawn through OpenGL vertex arrays, one glDrawElements per quad.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/vec3.h"

namespace vellumor {

// Four vertex indices, counter-clockwise seen from the front.
using Quad = std::array<std::uint32_t, 4>;

// Six quads over eight box corners (bit 0: x, bit 1: y, bit 2: z), each wound
// counter-clockwise seen from outside. With a camera's corner order they are
// the near, bottom, right, left, top and far sides of its frustum.
inline constexpr std::array<Quad, 6> BoxFaces = {{
    {0, 2, 3, 1},
    {2, 6, 7, 3},
    {1, 3, 7, 5},
    {0, 4, 6, 2},
    {0, 1, 5, 4},
    {4, 5, 7, 6},
}};

class QuadMesh {
 public:
  // A box fits in the mesh itself, so the frustum drawn every frame never
  // touches the heap; larger meshes keep their copies on the heap.
  static constexpr std::size_t kInlineVertices = 8;
  static constexpr std::size_t kInlineQuads = 6;

  // Copies vertices and indices (four per quad). Every index must name one of the vertices.
  QuadMesh(std::span<const Vec3> vertices, std::span<const Quad> quads);
  // Draws every quad; sets no colour, polygon mode or other state of its own.
  void Draw() const;

  std::int32_t faceCount = 0;

 private:
  // x, y, z per vertex.
  const double* Vertices() const;
  const Quad* Quads() const;

  std::array<double, 3 * kInlineVertices> inlineVertices{};
  std::array<Quad, kInlineQuads> inlineQuads{};
  std::vector<double> heapVertices;  // used only past kInlineVertices
  std::vector<Quad> heapQuads;       // used only past kInlineQuads
};

}  // namespace vellumor

#pragma once
// A mesh of quads drawn through OpenGL vertex arrays, one glDrawElements per quad.

#include <array>
#include <cstdint>
#include <span>

#include "geometry/vec3.h"

// Six quads over eight box corners (bit 0: x, bit 1: y, bit 2: z), each wound
// counter-clockwise seen from outside. With a camera's corner order they are
// the near, bottom, right, left, top and far sides of its frustum.
inline constexpr std::array<std::array<std::uint32_t, 4>, 6> BoxFaces = {{
    {0, 2, 3, 1},
    {2, 6, 7, 3},
    {1, 3, 7, 5},
    {0, 4, 6, 2},
    {0, 1, 5, 4},
    {4, 5, 7, 6},
}};

class QuadMesh {
 public:
  // Copies vertices and indices (four per quad).
  QuadMesh(std::span<const Vec3> vertices, std::span<const std::array<std::uint32_t, 4>> quads);
  // Draws every quad; sets no colour, polygon mode or other state of its own.
  void Draw() const;

  std::int32_t faceCount = 0;
  // (storage chosen by the implementation; a box fits without touching the heap)
};

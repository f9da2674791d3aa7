// From the vertices of one glBegin ... glEnd (or one glDrawElements) to the
// points, lines and triangles the backend draws, as OpenGL 1.1 assembles them.

#include <cstdint>

#include "gl_over_webgl/context.h"

namespace vellumor::webgl {

namespace {

// Whether a polygon faces the viewer: counter-clockwise in window
// coordinates, OpenGL's default front face. With every w positive that is
// the sign of the area in normalised device coordinates; otherwise the
// homogeneous determinant of its first three corners, signed by their w.
bool FacesFront(const std::vector<Vertex>& v, const std::uint32_t* corners, int count) {
  bool allInFront = true;
  for (int i = 0; i < count; ++i) allInFront = allInFront && v[corners[i]].position[3] > 0.0f;
  if (allInFront) {
    double area = 0.0;
    for (int i = 0; i < count; ++i) {
      const float* a = v[corners[i]].position;
      const float* b = v[corners[(i + 1) % count]].position;
      area += double(a[0]) / a[3] * (double(b[1]) / b[3]) - double(b[0]) / b[3] * (double(a[1]) / a[3]);
    }
    return area > 0.0;
  }
  const float* a = v[corners[0]].position;
  const float* b = v[corners[1]].position;
  const float* c = v[corners[2]].position;
  const double det = double(a[0]) * (double(b[1]) * c[3] - double(c[1]) * b[3]) -
                     double(b[0]) * (double(a[1]) * c[3] - double(c[1]) * a[3]) +
                     double(c[0]) * (double(a[1]) * b[3] - double(b[1]) * a[3]);
  return (det > 0.0) == (double(a[3]) * b[3] * c[3] > 0.0);
}

// One polygon of three or four corners, filled, outlined or as points,
// whichever mode its face has.
void Polygon(Context& c, const RasterState& raster, const std::uint32_t* corners, int count) {
  const State& s = c.state;
  GLenum mode = s.polygonFront;
  if (s.polygonFront != s.polygonBack) mode = FacesFront(c.pending, corners, count) ? s.polygonFront : s.polygonBack;
  if (mode == GL_LINE) {
    c.batcher.Use(Primitive::Lines, raster);
    for (int i = 0; i < count; ++i) {
      const std::uint32_t edge[2] = {corners[i], corners[(i + 1) % count]};
      c.batcher.Add(edge, 2);
    }
  } else if (mode == GL_POINT) {
    c.batcher.Use(Primitive::Points, raster);
    for (int i = 0; i < count; ++i) c.batcher.Add(&corners[i], 1);
  } else {
    c.batcher.Use(Primitive::Triangles, raster);
    for (int i = 1; i + 1 < count; ++i) {
      const std::uint32_t triangle[3] = {corners[0], corners[i], corners[i + 1]};
      c.batcher.Add(triangle, 3);
    }
  }
}

}  // namespace

void AssemblePrimitive(Context& c) {
  const RasterState raster = CurrentRasterState(c);
  c.batcher.Begin(c.pending);
  const auto n = static_cast<std::uint32_t>(c.pending.size());
  switch (c.mode) {
    case GL_POINTS:
      c.batcher.Use(Primitive::Points, raster);
      for (std::uint32_t i = 0; i < n; ++i) c.batcher.Add(&i, 1);
      break;
    case GL_LINES:
      c.batcher.Use(Primitive::Lines, raster);
      for (std::uint32_t i = 0; i + 1 < n; i += 2) {
        const std::uint32_t line[2] = {i, i + 1};
        c.batcher.Add(line, 2);
      }
      break;
    case GL_TRIANGLES:
      for (std::uint32_t i = 0; i + 2 < n; i += 3) {
        const std::uint32_t triangle[3] = {i, i + 1, i + 2};
        Polygon(c, raster, triangle, 3);
      }
      break;
    case GL_TRIANGLE_STRIP:
      // Every other triangle swaps its first two corners, so all keep the strip's winding.
      for (std::uint32_t i = 0; i + 2 < n; ++i) {
        const std::uint32_t triangle[3] = {i % 2 ? i + 1 : i, i % 2 ? i : i + 1, i + 2};
        Polygon(c, raster, triangle, 3);
      }
      break;
    case GL_QUADS:
      for (std::uint32_t i = 0; i + 3 < n; i += 4) {
        const std::uint32_t quad[4] = {i, i + 1, i + 2, i + 3};
        Polygon(c, raster, quad, 4);
      }
      break;
    default:
      break;  // a mode the viewer does not draw with
  }
}

}  // namespace vellumor::webgl

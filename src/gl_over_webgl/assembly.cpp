// From the vertices of one glBegin ... glEnd (or one glDrawElements) to the
// points, lines and triangles the backend draws, as OpenGL 1.1 assembles
// them. A primitive wholly beyond one plane of the clip volume draws no
// pixel and is left out here, before it costs anything, as is a filled one
// that falls between the pixel centres; a vertex goes into
// the batch, lit, once, when the first primitive that is drawn uses it.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gl_over_webgl/context.h"

namespace vellumor::webgl {

namespace {

unsigned Outside(const Vec4& c) {
  return (c[0] < -c[3] ? 1u : 0u) | (c[0] > c[3] ? 2u : 0u) | (c[1] < -c[3] ? 4u : 0u) | (c[1] > c[3] ? 8u : 0u) |
         (c[2] < -c[3] ? 16u : 0u) | (c[2] > c[3] ? 32u : 0u);
}

// Whether a filled polygon inside the clip volume is sure to cover no pixel
// centre, and so to draw no fragment: its corners' box in window
// coordinates, widened by more than a rasteriser's snapping of vertices to
// its sub-pixel grid (a sixteenth of a pixel at the coarsest) and the float
// transform's error, holds no x + 0.5 or no y + 0.5. Far off, most of the
// grid's triangles are smaller than a pixel and fall between the centres.
bool CoversNoPixelCentre(OpenVertex* const* v, int count) {
  constexpr float kMargin = 1.0f / 8.0f;
  for (int i = 0; i < count; ++i) {
    if (v[i]->outside != 0 || !(v[i]->clip[3] > 0.0)) return false;
  }
  for (int k = 0; k < 2; ++k) {
    float lo = v[0]->window[k], hi = lo;
    for (int i = 1; i < count; ++i) {
      lo = std::min(lo, v[i]->window[k]);
      hi = std::max(hi, v[i]->window[k]);
    }
    if (std::floor(hi + kMargin - 0.5f) < std::ceil(lo - kMargin - 0.5f)) return true;
  }
  return false;
}

// Whether a polygon faces the viewer: counter-clockwise in window
// coordinates, OpenGL's default front face. With every w positive that is
// the sign of the area in normalised device coordinates; otherwise the
// homogeneous determinant of its first three corners, signed by their w.
bool FacesFront(OpenVertex* const* v, int count) {
  bool allInFront = true;
  for (int i = 0; i < count; ++i) allInFront = allInFront && v[i]->clip[3] > 0.0;
  if (allInFront) {
    double area = 0.0;
    for (int i = 0; i < count; ++i) {
      const Vec4& a = v[i]->clip;
      const Vec4& b = v[(i + 1) % count]->clip;
      area += a[0] / a[3] * (b[1] / b[3]) - b[0] / b[3] * (a[1] / a[3]);
    }
    return area > 0.0;
  }
  const Vec4& a = v[0]->clip;
  const Vec4& b = v[1]->clip;
  const Vec4& c = v[2]->clip;
  const double det = a[0] * (b[1] * c[3] - c[1] * b[3]) - b[0] * (a[1] * c[3] - c[1] * a[3]) +
                     c[0] * (a[1] * b[3] - b[1] * a[3]);
  return (det > 0.0) == (a[3] * b[3] * c[3] > 0.0);
}

// The vertex's index in the batch, lit and written there the first time.
std::uint16_t Index(Context& c, OpenVertex& o) {
  if (o.index >= 0) return static_cast<std::uint16_t>(o.index);
  const Assembly& a = c.assembly;
  Vertex v;
  for (int i = 0; i < 3; ++i) v.position[i] = static_cast<float>(o.object[i] - c.origin[i]);
  Rgba color = o.color;
  if (a.lit) {
    const Vec4 eye = Transform(c.modelview.matrices[c.modelview.depth - 1], {o.object[0], o.object[1], o.object[2], 1});
    color = LitColor(a.lights, eye, Transform(a.normals, o.normal));
  }
  for (int i = 0; i < 4; ++i) v.color[i] = static_cast<float>(std::clamp(color[i], 0.0, 1.0));
  o.index = c.batcher.Add(v);
  return static_cast<std::uint16_t>(o.index);
}

// Makes room for a primitive's vertices: a full batch is drawn, and the open
// vertices go into the next one again when used.
void Room(Context& c, int vertices) {
  if (c.batcher.Room(static_cast<std::size_t>(vertices))) return;
  c.batcher.Flush();
  for (OpenVertex& o : c.assembly.open) o.index = -1;
}

// One primitive: points, a line, or a polygon of three or four corners
// filled, outlined or as points, whichever mode its face has.
void Emit(Context& c, OpenVertex* const* corners, int count, bool polygon) {
  unsigned outside = ~0u;
  for (int i = 0; i < count; ++i) outside &= corners[i]->outside;
  if (outside != 0) return;
  const State& s = c.state;
  GLenum mode = count == 1 ? GL_POINT : count == 2 ? GL_LINE : s.polygonFront;
  if (polygon && c.assembly.facing) mode = FacesFront(corners, count) ? s.polygonFront : s.polygonBack;
  if (mode == GL_FILL && CoversNoPixelCentre(corners, count)) return;
  if (mode == GL_FILL && count == 3) {  // the terrain's every triangle
    Room(c, 3);
    const std::uint16_t a = Index(c, *corners[0]), b = Index(c, *corners[1]);
    c.batcher.Triangle(a, b, Index(c, *corners[2]));
    return;
  }
  Room(c, count);
  std::uint16_t index[4];
  for (int i = 0; i < count; ++i) index[i] = Index(c, *corners[i]);
  if (mode == GL_FILL) {
    for (int i = 1; i + 1 < count; ++i) c.batcher.Triangle(index[0], index[i], index[i + 1]);
  } else if (mode == GL_LINE) {
    std::uint16_t edges[8];
    const int edgeCount = polygon ? count : 1;
    for (int i = 0; i < edgeCount; ++i) {
      edges[2 * i] = index[i];
      edges[2 * i + 1] = index[(i + 1) % count];
    }
    c.batcher.Draw(Primitive::Lines, edges, 2 * edgeCount);
  } else {
    c.batcher.Draw(Primitive::Points, index, count);
  }
}

}  // namespace

void BeginPrimitive(Context& c) {
  const Shading shading = CurrentShading(c, c.origin);
  c.batcher.Use(CurrentRasterState(c), shading);
  Assembly& a = c.assembly;
  a.count = 0;
  for (OpenVertex& o : a.open) o.index = -1;
  const Matrix& modelview = c.modelview.matrices[c.modelview.depth - 1];
  a.clipFromObject = Multiply(c.projection.matrices[c.projection.depth - 1], modelview);
  a.facing = c.state.polygonFront != c.state.polygonBack;
  a.lit = c.state.enables.lighting;
  if (a.lit) {
    a.normals = NormalMatrixOf(modelview);
    a.lights = TermsOf(c.state);
  }
}

void AssembleVertex(Context& c, double x, double y, double z) {
  Assembly& a = c.assembly;
  const std::uint32_t n = a.count++;
  OpenVertex& o = a.open[n % 4];
  o.object = {x, y, z};
  if (a.lit) {
    o.normal = c.state.normal;
  } else {
    o.color = c.state.color;
  }
  o.clip = Transform(a.clipFromObject, {x, y, z, 1.0});
  o.outside = Outside(o.clip);
  if (o.outside == 0 && o.clip[3] > 0.0) {  // where CoversNoPixelCentre looks
    const Vec3d window = WindowOf(o.clip, c.state.viewport);
    o.window[0] = static_cast<float>(window[0]);
    o.window[1] = static_cast<float>(window[1]);
  }
  o.index = -1;
  OpenVertex* corners[4];
  auto at = [&a](std::uint32_t k) { return &a.open[k % 4]; };
  switch (c.mode) {
    case GL_POINTS:
      corners[0] = &o;
      Emit(c, corners, 1, false);
      break;
    case GL_LINES:
      if (n % 2 == 1) {
        corners[0] = at(n - 1);
        corners[1] = &o;
        Emit(c, corners, 2, false);
      }
      break;
    case GL_TRIANGLES:
    case GL_QUADS: {
      const std::uint32_t sides = c.mode == GL_QUADS ? 4 : 3;
      if (n % sides == sides - 1) {
        for (std::uint32_t i = 0; i < sides; ++i) corners[i] = at(n - (sides - 1) + i);
        Emit(c, corners, static_cast<int>(sides), true);
      }
      break;
    }
    case GL_TRIANGLE_STRIP:
      // Every other triangle swaps its first two corners, so all keep the strip's winding.
      if (n >= 2) {
        corners[0] = at(n % 2 ? n - 1 : n - 2);
        corners[1] = at(n % 2 ? n - 2 : n - 1);
        corners[2] = &o;
        Emit(c, corners, 3, true);
      }
      break;
    default:
      break;  // a mode the viewer does not draw with
  }
}

}  // namespace vellumor::webgl

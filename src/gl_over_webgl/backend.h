#pragma once
// What the OpenGL subset hands to the graphics device: batches of vertices in
// object coordinates, already lit, that share one raster state and one
// matrix to clip coordinates, which the vertex program (vertex_program.h)
// applies. The front end assembles primitives, lights them and keeps the
// state; a backend transforms and rasterises. WebGL is one backend, the unit
// tests' recorder the other. No OpenGL header here: the WebGL side sees only
// GLES's.

#include <cstddef>
#include <cstdint>

namespace vellumor::webgl {

enum class Primitive { Points, Lines, Triangles };

// A batch's vertices are indexed with 16 bits.
inline constexpr std::size_t kBatchVertices = 65536;

struct Vertex {
  // Object coordinates less the batch's origin (w is 1), so that floats stay
  // exact however far from the world's origin the viewer flies.
  float position[3];
  float color[4];  // lit or current colour, clamped to 0..1
};

// The per-fragment state a batch is drawn with. Enum values are OpenGL's,
// which WebGL shares.
struct RasterState {
  std::int32_t viewport[4] = {0, 0, 0, 0};  // x, y, width, height in drawable pixels
  bool depthTest = false;
  bool depthWrite = true;
  bool blend = false;
  std::uint32_t blendSrc = 1;  // GL_ONE
  std::uint32_t blendDst = 0;  // GL_ZERO
  float pointSize = 1.0f;

  bool operator==(const RasterState&) const = default;
};

// The vertex program's uniform: the matrix from a batch's vertices (less its
// origin) to clip coordinates, projection * modelview * translation(origin),
// column-major.
struct Shading {
  float clip[16] = {};

  bool operator==(const Shading&) const = default;
};

// A run of a batch's indices that draws one kind of primitive: two indices a
// line, three a triangle. Runs are drawn in order.
struct Segment {
  Primitive kind = Primitive::Triangles;
  std::uint32_t first = 0;
  std::uint32_t count = 0;
};

// The vertices drawn with one raster state and one matrix, and the runs of
// indices into them that draw them, in drawing order.
struct Batch {
  const RasterState& raster;
  const Shading& shading;
  const Vertex* vertices;
  std::size_t vertexCount;
  const std::uint16_t* indices;
  std::size_t indexCount;
  const Segment* segments;
  std::size_t segmentCount;
};

struct DrawableSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

class Backend {
 public:
  // Clears the colour buffer, the depth buffer or both, whatever the last batch left.
  virtual void Clear(bool color, bool depth, const float rgba[4], float depthValue) = 0;
  virtual void Draw(const Batch& batch) = 0;
  // The drawing buffer's size, where glBitmap's window coordinates live.
  virtual DrawableSize Size() = 0;

 protected:
  ~Backend() = default;
};

// Where the subset draws from now on, its viewport the whole drawable as a
// context first made current; null draws nothing (state is still kept).
void SetBackend(Backend* backend);

}  // namespace vellumor::webgl

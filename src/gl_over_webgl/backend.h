#pragma once
// What the OpenGL subset hands to the graphics device: primitives already
// transformed to clip space and already lit, in batches that share one raster
// state. The front end does everything OpenGL 1.1 does per vertex; a backend
// only rasterises. WebGL is one backend, the unit tests' recorder the other.
// No OpenGL header here: the WebGL side sees only GLES's.

#include <cstddef>
#include <cstdint>

namespace vellumor::webgl {

enum class Primitive { Points, Lines, Triangles };

struct Vertex {
  float position[4];  // clip coordinates
  float color[4];     // lit or current colour, clamped to 0..1
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

struct DrawableSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

class Backend {
 public:
  // Clears the colour buffer, the depth buffer or both, whatever the last batch left.
  virtual void Clear(bool color, bool depth, const float rgba[4], float depthValue) = 0;
  // Draws indexed primitives: two indices a line, three a triangle.
  virtual void Draw(Primitive kind, const RasterState& state, const Vertex* vertices, std::size_t vertexCount,
                    const std::uint16_t* indices, std::size_t indexCount) = 0;
  // The drawing buffer's size, where glBitmap's window coordinates live.
  virtual DrawableSize Size() = 0;

 protected:
  ~Backend() = default;
};

// Where the subset draws from now on; null draws nothing (state is still kept).
void SetBackend(Backend* backend);

}  // namespace vellumor::webgl

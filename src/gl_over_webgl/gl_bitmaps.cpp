// OpenGL's raster position, bitmaps, pixel unpacking and display lists: what
// the overlay's text is drawn with. Lists hold glBitmap, the one command the
// font's lists are made of; a bitmap is decoded into runs of set pixels once,
// when its list is compiled, and drawn as one quad per run in window pixels.

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "gl_over_webgl/context.h"

using namespace vellumor::webgl;

namespace {

constexpr std::size_t kMaxLists = 65536;

// Bitmaps' corners are given in clip coordinates already.
const Shading& WindowShading() {
  static const Shading shading = [] {
    Shading s;
    for (int i = 0; i < 4; ++i) s.clip[5 * i] = 1.0f;
    return s;
  }();
  return shading;
}

bool BitSet(const GLubyte* row, GLint bit, bool lsbFirst) {
  const int shift = lsbFirst ? bit % 8 : 7 - bit % 8;
  return (row[bit / 8] >> shift) & 1;
}

// The runs of set bits of a width by height bitmap, as the pixel store says
// its rows are laid out in memory.
std::vector<BitmapRun> DecodeRuns(GLsizei width, GLsizei height, const GLubyte* bits, const PixelStore& store) {
  std::vector<BitmapRun> runs;
  if (bits == nullptr || width <= 0 || height <= 0) return runs;
  const GLint rowBits = store.rowLength > 0 ? store.rowLength : width;
  const GLint alignment = store.alignment > 0 ? store.alignment : 1;
  const GLint rowBytes = (rowBits + 8 * alignment - 1) / (8 * alignment) * alignment;
  for (GLint y = 0; y < height; ++y) {
    const GLubyte* row = bits + static_cast<std::ptrdiff_t>(store.skipRows + y) * rowBytes;
    for (GLint x = 0; x < width;) {
      if (!BitSet(row, store.skipPixels + x, store.lsbFirst)) {
        ++x;
        continue;
      }
      const GLint start = x;
      while (x < width && BitSet(row, store.skipPixels + x, store.lsbFirst)) ++x;
      runs.push_back({start, y, x - start});
    }
  }
  return runs;
}

// Draws the bitmap's runs at the raster position, in its latched colour and
// depth, through the fragment state in force, then moves the raster position.
// Nothing happens while the raster position is invalid.
void DrawBitmap(Context& c, const Bitmap& bitmap) {
  RasterPosition& raster = c.state.raster;
  if (!raster.valid) return;
  Backend* backend = c.batcher.backend();
  const DrawableSize size = backend != nullptr ? backend->Size() : DrawableSize{};
  if (!bitmap.runs.empty() && size.width > 0 && size.height > 0) {
    // Window pixels to clip coordinates over the whole drawable: bitmaps are
    // placed in window coordinates, whatever the viewport.
    // A position that came out of the matrices a hair below a whole pixel (5
    // as 4.9999999 at some widths) still means that pixel, as desktop GL reads it.
    constexpr double kNudge = 1e-4;
    const double left = std::floor(raster.window[0] - bitmap.xOrigin + kNudge);
    const double bottom = std::floor(raster.window[1] - bitmap.yOrigin + kNudge);
    const float z = static_cast<float>(2.0 * raster.window[2] - 1.0);
    auto corner = [&](double x, double y) {
      Vertex v = {{static_cast<float>(2.0 * x / size.width - 1.0), static_cast<float>(2.0 * y / size.height - 1.0), z},
                  {}};
      for (int i = 0; i < 4; ++i) v.color[i] = static_cast<float>(raster.color[i]);
      return c.batcher.Add(v);
    };
    RasterState state = CurrentRasterState(c);
    state.viewport[0] = state.viewport[1] = 0;
    state.viewport[2] = size.width;
    state.viewport[3] = size.height;
    c.batcher.Use(state, WindowShading());
    for (const BitmapRun& run : bitmap.runs) {
      if (!c.batcher.Room(4)) c.batcher.Flush();
      const double x0 = left + run.x, x1 = x0 + run.length, y0 = bottom + run.y, y1 = y0 + 1;
      const std::uint16_t a = corner(x0, y0), b = corner(x1, y0), d = corner(x1, y1), e = corner(x0, y1);
      const std::uint16_t quad[6] = {a, b, d, a, d, e};
      c.batcher.Draw(Primitive::Triangles, quad, 6);
    }
  }
  raster.window[0] += bitmap.xMove;
  raster.window[1] += bitmap.yMove;
}

void CallList(Context& c, GLuint list) {
  if (list == 0 || list > c.lists.size()) return;
  for (const Bitmap& bitmap : c.lists[list - 1].bitmaps) DrawBitmap(c, bitmap);
}

template <typename T>
void CallListsOf(Context& c, GLsizei n, const void* lists) {
  const T* names = static_cast<const T*>(lists);
  for (GLsizei i = 0; i < n; ++i) CallList(c, c.state.listBase + names[i]);
}

}  // namespace

extern "C" {

// The raster position is a vertex: it goes through the matrices (and the
// lighting, for its colour) and is valid only inside the clip volume.
void GLAPIENTRY glRasterPos2i(GLint x, GLint y) {
  Context& c = TheContext();
  Vec4 clip{};
  const Rgba color = ShadeVertex(c, {double(x), double(y), 0.0, 1.0}, clip);
  RasterPosition& raster = c.state.raster;
  const double w = clip[3];
  raster.valid = w > 0.0 && std::fabs(clip[0]) <= w && std::fabs(clip[1]) <= w && std::fabs(clip[2]) <= w;
  if (!raster.valid) return;
  raster.window = WindowOf(clip, c.state.viewport);
  raster.color = color;
}

void GLAPIENTRY glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
                         const GLubyte* bitmap) {
  Context& c = TheContext();
  if (width < 0 || height < 0) return;  // GL_INVALID_VALUE
  Bitmap decoded{xorig, yorig, xmove, ymove, DecodeRuns(width, height, bitmap, c.client.pixelStore)};
  if (c.compiling != 0) {
    c.compiled.bitmaps.push_back(decoded);
    if (c.compileMode != GL_COMPILE_AND_EXECUTE) return;
  }
  DrawBitmap(c, decoded);
}

void GLAPIENTRY glPixelStorei(GLenum pname, GLint param) {
  PixelStore& store = TheContext().client.pixelStore;
  switch (pname) {
    case GL_UNPACK_ALIGNMENT:
      if (param == 1 || param == 2 || param == 4 || param == 8) store.alignment = param;
      break;
    case GL_UNPACK_ROW_LENGTH:
      store.rowLength = param;
      break;
    case GL_UNPACK_SKIP_ROWS:
      store.skipRows = param;
      break;
    case GL_UNPACK_SKIP_PIXELS:
      store.skipPixels = param;
      break;
    case GL_UNPACK_LSB_FIRST:
      store.lsbFirst = param != 0;
      break;
    default:
      break;
  }
}

void GLAPIENTRY glPushClientAttrib(GLbitfield mask) {
  Context& c = TheContext();
  if (c.clientDepth == kAttribStackDepth) return;  // GL_STACK_OVERFLOW
  c.clientStack[c.clientDepth++] = {mask, c.client};
}
void GLAPIENTRY glPopClientAttrib() {
  Context& c = TheContext();
  if (c.clientDepth == 0) return;  // GL_STACK_UNDERFLOW
  const Context::SavedClient& saved = c.clientStack[--c.clientDepth];
  if (saved.mask & GL_CLIENT_PIXEL_STORE_BIT) c.client.pixelStore = saved.client.pixelStore;
  if (saved.mask & GL_CLIENT_VERTEX_ARRAY_BIT) c.client.vertexArray = saved.client.vertexArray;
}

// Names are handed out once and never reused, which keeps them contiguous.
// Past kMaxLists there is no room: 0, as OpenGL says when it has none.
GLuint GLAPIENTRY glGenLists(GLsizei range) {
  Context& c = TheContext();
  if (range <= 0 || static_cast<std::size_t>(range) > kMaxLists - c.lists.size()) return 0;
  const auto first = static_cast<GLuint>(c.lists.size() + 1);
  c.lists.resize(c.lists.size() + static_cast<std::size_t>(range));
  return first;
}
// A deleted list draws nothing; its name is not handed out again.
void GLAPIENTRY glDeleteLists(GLuint list, GLsizei range) {
  Context& c = TheContext();
  if (list == 0 || range <= 0) return;
  const std::size_t end = std::min(c.lists.size(), std::size_t{list} - 1 + static_cast<std::size_t>(range));
  for (std::size_t n = list - 1; n < end; ++n) c.lists[n] = DisplayList{};
}
void GLAPIENTRY glNewList(GLuint list, GLenum mode) {
  Context& c = TheContext();
  if (list == 0 || list > kMaxLists || c.compiling != 0) return;  // GL_INVALID_VALUE, GL_INVALID_OPERATION
  c.compiling = list;
  c.compileMode = mode;
  c.compiled = DisplayList{};
}
void GLAPIENTRY glEndList() {
  Context& c = TheContext();
  if (c.compiling == 0) return;
  if (c.compiling > c.lists.size()) c.lists.resize(c.compiling);
  c.lists[c.compiling - 1] = std::move(c.compiled);
  c.compiling = 0;
}
void GLAPIENTRY glListBase(GLuint base) { TheContext().state.listBase = base; }
void GLAPIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
  Context& c = TheContext();
  if (type == GL_UNSIGNED_BYTE) CallListsOf<GLubyte>(c, n, lists);
  if (type == GL_UNSIGNED_SHORT) CallListsOf<GLushort>(c, n, lists);
  if (type == GL_UNSIGNED_INT) CallListsOf<GLuint>(c, n, lists);
}

}  // extern "C"

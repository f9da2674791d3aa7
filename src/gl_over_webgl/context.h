#pragma once
// The one OpenGL context of the subset: its state, matrix and attribute
// stacks, client arrays, display lists and the batch being gathered. The GL
// entry points (gl_*.cpp) work on it; the unit tests read it.

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "gl_over_webgl/backend.h"
#include "gl_over_webgl/batcher.h"
#include "gl_over_webgl/matrix.h"
#include "gl_over_webgl/state.h"

namespace vellumor::webgl {

inline constexpr int kMatrixStackDepth = 32;
inline constexpr int kAttribStackDepth = 16;

struct PixelStore {
  GLint alignment = 4;
  GLint rowLength = 0;
  GLint skipRows = 0;
  GLint skipPixels = 0;
  bool lsbFirst = false;
};

struct VertexArray {
  bool enabled = false;
  GLint size = 4;
  GLenum type = GL_FLOAT;
  GLsizei stride = 0;
  const void* pointer = nullptr;
};

struct ClientState {
  PixelStore pixelStore;
  VertexArray vertexArray;
};

// A row's run of set bits, in pixels from the bitmap's lower-left corner.
struct BitmapRun {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t length = 0;
};

// glBitmap as a display list keeps it: decoded once into runs.
struct Bitmap {
  double xOrigin = 0.0;
  double yOrigin = 0.0;
  double xMove = 0.0;
  double yMove = 0.0;
  std::vector<BitmapRun> runs;
};

struct DisplayList {
  std::vector<Bitmap> bitmaps;  // the one command lists hold here
};

struct MatrixStack {
  Matrix matrices[kMatrixStackDepth] = {kIdentity};
  int depth = 1;  // the current matrix is matrices[depth - 1]
};

struct Context {
  State state;
  MatrixStack modelview;
  MatrixStack projection;
  struct SavedAttribs {
    GLbitfield mask = 0;
    State state;
  } attribStack[kAttribStackDepth];
  int attribDepth = 0;

  ClientState client;
  struct SavedClient {
    GLbitfield mask = 0;
    ClientState client;
  } clientStack[kAttribStackDepth];
  int clientDepth = 0;

  // Between glBegin and glEnd: the mode and the vertices so far, shaded.
  bool inBeginEnd = false;
  GLenum mode = GL_POINTS;
  std::vector<Vertex> pending;
  NormalMatrix normalMatrix{};

  std::vector<DisplayList> lists;  // list n is lists[n - 1]
  GLuint compiling = 0;            // the list between glNewList and glEndList, or 0
  GLenum compileMode = GL_COMPILE;
  DisplayList compiled;

  std::vector<Vertex> bitmapQuads;  // a bitmap's runs, four corners each
  Batcher batcher;
};

Context& TheContext();
// OpenGL's initial state again, with no display lists; the backend stays.
void ResetContext();

Matrix& CurrentMatrix(Context& context);
RasterState CurrentRasterState(const Context& context);

// A vertex in object coordinates through the current matrices and, when
// lighting is on, the lighting equation with the current normal carried into
// eye space by `normals` (the current modelview's normal matrix). Its clip
// coordinates in doubles go to `clip` when asked for.
Vertex ShadeVertex(const Context& context, const Vec4& object, const NormalMatrix& normals, Vec4* clip = nullptr);

// Turns the vertices between glBegin and glEnd into points, lines and
// triangles, as the mode and the polygon mode of each face say.
void AssemblePrimitive(Context& context);

}  // namespace vellumor::webgl

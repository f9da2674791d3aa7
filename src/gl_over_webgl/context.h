#pragma once
// The one OpenGL context of the subset: its state, matrix and attribute
// stacks, client arrays, display lists and the batch being gathered. The GL
// entry points (gl_*.cpp) work on it; the unit tests read it.

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "gl_over_webgl/backend.h"
#include "gl_over_webgl/batcher.h"
#include "gl_over_webgl/lighting.h"
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

// A vertex of the primitive being assembled, as glVertex found it, and where
// it lies against the clip volume. It goes into the batch only once a
// primitive that is drawn uses it.
struct OpenVertex {
  Vec3d object = {0, 0, 0};
  Vec3d normal = {0, 0, 0};
  Rgba color = {0, 0, 0, 0};
  Vec4 clip = {0, 0, 0, 0};
  unsigned outside = 0;  // one bit per clip plane the vertex lies beyond
  float window[2] = {0, 0};  // x and y in window coordinates, when clip w > 0
  std::int32_t index = -1;  // in the batch, or -1
};

// The vertices of one glBegin so far, the last few of them kept (vertex n
// at open[n % 4]), and what stays the same for all of them.
struct Assembly {
  std::uint32_t count = 0;
  OpenVertex open[4];
  Matrix clipFromObject = kIdentity;  // projection * modelview, in doubles
  bool facing = false;  // the front and back faces' polygon modes differ
  bool lit = false;
  NormalMatrix normals{};  // the modelview's, for lighting
  LightTerms lights;
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

  // Between glBegin and glEnd: the mode, the primitive being assembled and
  // the batch's origin.
  bool inBeginEnd = false;
  GLenum mode = GL_POINTS;
  Assembly assembly;
  Vec3d origin = {0, 0, 0};

  std::vector<DisplayList> lists;  // list n is lists[n - 1]
  GLuint compiling = 0;            // the list between glNewList and glEndList, or 0
  GLenum compileMode = GL_COMPILE;
  DisplayList compiled;

  Batcher batcher;
};

Context& TheContext();
// OpenGL's initial state again, with no display lists; the backend stays.
void ResetContext();

Matrix& CurrentMatrix(Context& context);
RasterState CurrentRasterState(const Context& context);

// The vertex program's matrix for the current matrices, with `origin` (what
// vertices are given relative to) near the eye, so that a vertex's floats
// are exact wherever the eye is.
Shading CurrentShading(const Context& context, Vec3d& origin);

// A vertex in object coordinates through the current matrices, in doubles,
// and its colour: lit when lighting is on, with the current normal.
Rgba ShadeVertex(const Context& context, const Vec4& object, Vec4& clip);

// glBegin's part and glVertex's: the vertices of one glBegin ... glEnd (or
// one glDrawElements) into the batch, and the points, lines and triangles
// they make as they complete, as the mode and the polygon mode of each face say.
void BeginPrimitive(Context& context);
void AssembleVertex(Context& context, double x, double y, double z);

}  // namespace vellumor::webgl

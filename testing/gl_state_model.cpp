#include "testing/gl_state_model.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

// OpenGL 1.3's, absent from headers that stop at 1.1 (Windows').
#ifndef GL_MULTISAMPLE
#define GL_MULTISAMPLE 0x809D
#endif

namespace vellumor {

namespace {

struct AttribFrame {
  GLbitfield mask = 0;
  GlState saved;
};

constexpr int kMaxAttribDepth = 16;
constexpr int kMaxMatrixDepth = 32;

GlState state;
AttribFrame attribStack[kMaxAttribDepth];
GlMatrix modelviewStack[kMaxMatrixDepth];
GlMatrix projectionStack[kMaxMatrixDepth];
std::vector<GlPrimitive> primitives;
std::vector<GlText> texts;
bool textGoesOn = false;  // no glRasterPos since the last glCallLists: it continues that text
bool primitiveOpen = false;  // between glBegin and glEnd: the last primitive takes the vertices
bool capturing = true;

const GLdouble* vertexPointer = nullptr;
GLsizei vertexStride = 0;
GLint vertexSize = 3;

// a * b, both column-major.
GlMatrix Multiply(const GlMatrix& a, const GlMatrix& b) {
  GlMatrix c{};
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += a[4 * k + row] * b[4 * column + k];
      c[4 * column + row] = sum;
    }
  }
  return c;
}

std::array<double, 4> Transform(const GlMatrix& m, const std::array<double, 4>& v) {
  std::array<double, 4> out{};
  for (int row = 0; row < 4; ++row) {
    out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
  }
  return out;
}

GlMatrix& Current() { return state.matrixMode == GL_PROJECTION ? state.projection : state.modelview; }

// The current matrix times m, as every GL matrix operation but glLoadIdentity does.
void MultiplyCurrent(const GlMatrix& m) { Current() = Multiply(Current(), m); }

// Rows written out as OpenGL's reference pages print them, stored column-major.
GlMatrix FromRows(std::initializer_list<double> rows) {
  GlMatrix m{};
  int k = 0;
  for (double value : rows) {
    m[4 * (k % 4) + k / 4] = value;
    ++k;
  }
  return m;
}

// The matrix stack of the current mode: its depth and its saved matrices.
int& StackDepth() { return state.matrixMode == GL_PROJECTION ? state.projectionDepth : state.modelviewDepth; }
GlMatrix* Stack() { return state.matrixMode == GL_PROJECTION ? projectionStack : modelviewStack; }

GlPrimitive* BeginPrimitive(GLenum mode) {
  if (!capturing) return nullptr;
  GlPrimitive& primitive = primitives.emplace_back();
  primitive.mode = mode;
  primitive.state = state;
  return &primitive;
}

void AddVertex(GlPrimitive* primitive, double x, double y, double z) {
  if (!primitive) return;
  GlVertex& v = primitive->vertices.emplace_back();
  v.position = {x, y, z};
  std::memcpy(v.color, state.color, sizeof v.color);
  std::memcpy(v.normal, state.normal, sizeof v.normal);
}

void RestoreEnables(const GlState& from) {
  state.capCount = from.capCount;
  std::memcpy(state.caps, from.caps, sizeof state.caps);
  std::memcpy(state.capOn, from.capOn, sizeof state.capOn);
}

}  // namespace

bool GlState::IsOn(GLenum cap) const {
  for (std::size_t i = 0; i < capCount; ++i) {
    if (caps[i] == cap) return capOn[i];
  }
  return cap == GL_DITHER || cap == GL_MULTISAMPLE;  // on by default in OpenGL
}

void GlState::Set(GLenum cap, bool on) {
  for (std::size_t i = 0; i < capCount; ++i) {
    if (caps[i] == cap) {
      capOn[i] = on;
      return;
    }
  }
  if (capCount < kMaxCaps) {
    caps[capCount] = cap;
    capOn[capCount] = on;
    ++capCount;
  }
}

namespace recgl {

const std::vector<GlPrimitive>& Primitives() { return primitives; }
const std::vector<GlText>& Texts() { return texts; }
const GlState& State() { return state; }

Vec3 WindowPoint(const GlState& s, const Vec3& p) {
  const std::array<double, 4> clip = Transform(Multiply(s.projection, s.modelview), {p.x, p.y, p.z, 1.0});
  const double x = clip[0] / clip[3], y = clip[1] / clip[3], z = clip[2] / clip[3];
  return {s.viewport[0] + (x + 1.0) * 0.5 * s.viewport[2], s.viewport[1] + (y + 1.0) * 0.5 * s.viewport[3],
          (z + 1.0) * 0.5};
}

}  // namespace recgl

namespace glmodel {

void Reset() {
  state = GlState{};
  primitives.clear();
  primitiveOpen = false;
  texts.clear();
  textGoesOn = false;
  capturing = true;
  vertexPointer = nullptr;
  vertexStride = 0;
  vertexSize = 3;
}

void SetCapturing(bool on) { capturing = on; }

// Frame and buffers ------------------------------------------------------------

void ClearDepth(double depth) { state.clearDepth = depth; }
void ClearColor(double r, double g, double b, double a) {
  const double color[4] = {r, g, b, a};
  std::memcpy(state.clearColor, color, sizeof color);
}
void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  const GLint viewport[4] = {x, y, width, height};
  std::memcpy(state.viewport, viewport, sizeof viewport);
}
void DepthMask(GLboolean flag) { state.depthMask = flag != GL_FALSE; }

// Enables and attributes ----------------------------------------------------

void Enable(GLenum cap, bool on) { state.Set(cap, on); }
void PushAttrib(GLbitfield mask) {
  if (state.attribDepth < kMaxAttribDepth) attribStack[state.attribDepth] = {mask, state};
  ++state.attribDepth;
}
void PopAttrib() {
  if (state.attribDepth == 0) return;
  --state.attribDepth;
  if (state.attribDepth >= kMaxAttribDepth) return;
  const AttribFrame& frame = attribStack[state.attribDepth];
  const GlState& saved = frame.saved;
  if (frame.mask & GL_ENABLE_BIT) RestoreEnables(saved);
  if (frame.mask & GL_POLYGON_BIT) {
    state.polygonFront = saved.polygonFront;
    state.polygonBack = saved.polygonBack;
  }
  if (frame.mask & GL_CURRENT_BIT) {
    std::memcpy(state.color, saved.color, sizeof state.color);
    std::memcpy(state.normal, saved.normal, sizeof state.normal);
  }
  if (frame.mask & GL_COLOR_BUFFER_BIT) {
    state.blendSrc = saved.blendSrc;
    state.blendDst = saved.blendDst;
    state.Set(GL_BLEND, saved.IsOn(GL_BLEND));
  }
  if (frame.mask & GL_DEPTH_BUFFER_BIT) {
    state.depthMask = saved.depthMask;
    state.Set(GL_DEPTH_TEST, saved.IsOn(GL_DEPTH_TEST));
  }
  if (frame.mask & GL_LIGHTING_BIT) {
    state.shadeModel = saved.shadeModel;
    state.Set(GL_LIGHTING, saved.IsOn(GL_LIGHTING));
    for (GLenum light = GL_LIGHT0; light < GL_LIGHT0 + 8; ++light) state.Set(light, saved.IsOn(light));
    std::memcpy(state.lightPosition, saved.lightPosition, sizeof state.lightPosition);
  }
  if (frame.mask & GL_POINT_BIT) state.pointSize = saved.pointSize;
  if (frame.mask & GL_VIEWPORT_BIT) std::memcpy(state.viewport, saved.viewport, sizeof state.viewport);
  if (frame.mask & GL_TRANSFORM_BIT) state.matrixMode = saved.matrixMode;
}
void PolygonMode(GLenum face, GLenum mode) {
  if (face == GL_FRONT || face == GL_FRONT_AND_BACK) state.polygonFront = mode;
  if (face == GL_BACK || face == GL_FRONT_AND_BACK) state.polygonBack = mode;
}
void ShadeModel(GLenum mode) { state.shadeModel = mode; }
void BlendFunc(GLenum src, GLenum dst) {
  state.blendSrc = src;
  state.blendDst = dst;
}
void PointSize(double size) { state.pointSize = size; }
void Light(GLenum light, GLenum pname, const GLfloat* params) {
  if (pname != GL_POSITION || light < GL_LIGHT0 || light >= GL_LIGHT0 + 8) return;
  const std::array<double, 4> eye = Transform(state.modelview, {params[0], params[1], params[2], params[3]});
  std::memcpy(state.lightPosition[light - GL_LIGHT0], eye.data(), sizeof eye);
}

// Matrices --------------------------------------------------------------------

void MatrixMode(GLenum mode) { state.matrixMode = mode; }
void LoadIdentity() { Current() = kGlIdentity; }
void PushMatrix() {
  int& depth = StackDepth();
  if (depth >= 1 && depth <= kMaxMatrixDepth) Stack()[depth - 1] = Current();
  ++depth;
}
void PopMatrix() {
  int& depth = StackDepth();
  --depth;
  if (depth >= 1 && depth <= kMaxMatrixDepth) Current() = Stack()[depth - 1];
}
void Ortho(double l, double r, double b, double t, double n, double f) {
  MultiplyCurrent(FromRows({2 / (r - l), 0, 0, -(r + l) / (r - l),  //
                            0, 2 / (t - b), 0, -(t + b) / (t - b),  //
                            0, 0, -2 / (f - n), -(f + n) / (f - n),  //
                            0, 0, 0, 1}));
}
void Frustum(double l, double r, double b, double t, double n, double f) {
  MultiplyCurrent(FromRows({2 * n / (r - l), 0, (r + l) / (r - l), 0,  //
                            0, 2 * n / (t - b), (t + b) / (t - b), 0,  //
                            0, 0, -(f + n) / (f - n), -2 * f * n / (f - n),  //
                            0, 0, -1, 0}));
}
void Rotate(double angle, double x, double y, double z) {
  const double length = std::sqrt(x * x + y * y + z * z);
  const double ux = x / length, uy = y / length, uz = z / length;
  const double radians = angle * 3.14159265358979323846 / 180.0;
  const double c = std::cos(radians), s = std::sin(radians), k = 1 - c;
  MultiplyCurrent(FromRows({ux * ux * k + c, ux * uy * k - uz * s, ux * uz * k + uy * s, 0,  //
                            uy * ux * k + uz * s, uy * uy * k + c, uy * uz * k - ux * s, 0,  //
                            ux * uz * k - uy * s, uy * uz * k + ux * s, uz * uz * k + c, 0,  //
                            0, 0, 0, 1}));
}
void Translate(double x, double y, double z) {
  MultiplyCurrent(FromRows({1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1}));
}
void Scale(double x, double y, double z) {
  MultiplyCurrent(FromRows({x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}));
}

// Immediate mode ----------------------------------------------------------------

void Begin(GLenum mode) {
  state.inBeginEnd = true;
  primitiveOpen = BeginPrimitive(mode) != nullptr;
}
void End() {
  state.inBeginEnd = false;
  primitiveOpen = false;
}
void Vertex(double x, double y, double z) { AddVertex(primitiveOpen ? &primitives.back() : nullptr, x, y, z); }
void Normal(const double* v) { std::memcpy(state.normal, v, sizeof state.normal); }
void Color(double r, double g, double b, double a) {
  const double color[4] = {r, g, b, a};
  std::memcpy(state.color, color, sizeof color);
}

// Vertex arrays -----------------------------------------------------------------

void EnableClientState(GLenum array, bool on) {
  if (array == GL_VERTEX_ARRAY) state.vertexArray = on;
}
void VertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
  // Only doubles are used by the program; anything else is not resolved.
  vertexPointer = type == GL_DOUBLE ? static_cast<const GLdouble*>(pointer) : nullptr;
  vertexSize = size;
  vertexStride = stride;
}
void DrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices, VertexReached reached) {
  // Only what the program uses is resolved: unsigned int indices into doubles.
  if (type != GL_UNSIGNED_INT || !state.vertexArray || !vertexPointer) return;
  GlPrimitive* primitive = BeginPrimitive(mode);
  const GLuint* index = static_cast<const GLuint*>(indices);
  const std::size_t step = vertexStride ? vertexStride / sizeof(GLdouble) : std::size_t(vertexSize);
  for (GLsizei i = 0; i < count; ++i) {
    const GLdouble* v = vertexPointer + index[i] * step;
    reached(v);
    AddVertex(primitive, v[0], v[1], v[2]);
  }
}

// Text ---------------------------------------------------------------------------

void RasterPos(GLint x, GLint y) {
  const Vec3 window = recgl::WindowPoint(state, {double(x), double(y), 0.0});
  state.rasterPosition[0] = window.x;
  state.rasterPosition[1] = window.y;
  state.rasterPosition[2] = window.z;
  std::memcpy(state.rasterColor, state.color, sizeof state.rasterColor);
  textGoesOn = false;
}
void ListBase(GLuint base) { state.listBase = base; }
void CallLists(std::string_view characters) {
  if (!capturing) return;
  if (!textGoesOn || texts.back().listBase != state.listBase) {
    GlText& text = texts.emplace_back();
    text.listBase = state.listBase;
    text.state = state;
    textGoesOn = true;
  }
  texts.back().text += characters;
}

}  // namespace glmodel

}  // namespace vellumor

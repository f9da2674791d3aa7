#include "testing/recording_gl.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

// The GL functions below are C functions at global scope, so this file reads the
// library's own names unqualified.
using namespace vellumor;

// OpenGL 1.3's, absent from headers that stop at 1.1 (Windows').
#ifndef GL_MULTISAMPLE
#define GL_MULTISAMPLE 0x809D
#endif

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
std::vector<GlCall> calls;
std::vector<GlPrimitive> primitives;
std::vector<GlText> texts;
bool textGoesOn = false;  // no glRasterPos since the last glCallLists: it continues that text
bool primitiveOpen = false;  // between glBegin and glEnd: the last primitive takes the vertices
bool recording = true;

const GLdouble* vertexPointer = nullptr;
GLsizei vertexStride = 0;
GLint vertexSize = 3;

// The first call given a value that is not finite, kept without allocating.
struct NonFiniteSighting {
  static constexpr std::size_t kMaxArgs = 8;
  std::size_t count = 0;
  const char* name = nullptr;
  double args[kMaxArgs] = {};
  std::size_t argCount = 0;
};

NonFiniteSighting nonFinite;

void Watch(const char* name, const double* values, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (std::isfinite(values[i])) continue;
    if (nonFinite.count++ == 0) {
      nonFinite.name = name;
      nonFinite.argCount = std::min(n, NonFiniteSighting::kMaxArgs);
      std::copy(values, values + nonFinite.argCount, nonFinite.args);
    }
    return;
  }
}

GlCall* Record(const char* name, std::initializer_list<double> args) {
  Watch(name, args.begin(), args.size());
  if (!recording) return nullptr;
  GlCall& call = calls.emplace_back();
  call.name = name;
  call.args.assign(args);
  return &call;
}

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

GlPrimitive* BeginPrimitive(GLenum mode) {
  if (!recording) return nullptr;
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

GlPrimitive* OpenPrimitive() { return primitiveOpen ? &primitives.back() : nullptr; }

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

namespace vellumor::recgl {

void Reset() {
  state = GlState{};
  calls.clear();
  primitives.clear();
  primitiveOpen = false;
  texts.clear();
  textGoesOn = false;
  recording = true;
  vertexPointer = nullptr;
  vertexStride = 0;
  vertexSize = 3;
  nonFinite = NonFiniteSighting{};
}

void SetRecording(bool on) { recording = on; }

const std::vector<GlCall>& Calls() { return calls; }
const std::vector<GlPrimitive>& Primitives() { return primitives; }
const std::vector<GlText>& Texts() { return texts; }
const GlState& State() { return state; }

std::vector<GlCall> Named(std::string_view name) {
  std::vector<GlCall> found;
  for (const GlCall& call : calls) {
    if (name == call.name) found.push_back(call);
  }
  return found;
}

std::size_t Count(std::string_view name) {
  std::size_t n = 0;
  for (const GlCall& call : calls) n += name == call.name ? 1 : 0;
  return n;
}

std::vector<std::string> Names() {
  std::vector<std::string> names;
  names.reserve(calls.size());
  for (const GlCall& call : calls) names.emplace_back(call.name);
  return names;
}

std::size_t Find(std::string_view name, std::size_t from) {
  for (std::size_t i = from; i < calls.size(); ++i) {
    if (name == calls[i].name) return i;
  }
  return calls.size();
}

Vec3 WindowPoint(const GlState& s, const Vec3& p) {
  const std::array<double, 4> clip = Transform(Multiply(s.projection, s.modelview), {p.x, p.y, p.z, 1.0});
  const double x = clip[0] / clip[3], y = clip[1] / clip[3], z = clip[2] / clip[3];
  return {s.viewport[0] + (x + 1.0) * 0.5 * s.viewport[2], s.viewport[1] + (y + 1.0) * 0.5 * s.viewport[3],
          (z + 1.0) * 0.5};
}

std::size_t NonFiniteCalls() { return nonFinite.count; }

std::string FirstNonFiniteCall() {
  if (nonFinite.count == 0) return {};
  std::string text = std::string(nonFinite.name) + "(";
  for (std::size_t i = 0; i < nonFinite.argCount; ++i) {
    char number[32];
    std::snprintf(number, sizeof number, "%s%.17g", i ? ", " : "", nonFinite.args[i]);
    text += number;
  }
  return text + ")";
}

}  // namespace vellumor::recgl

extern "C" {

// Frame and buffers ------------------------------------------------------------

void APIENTRY glClearDepth(GLclampd depth) {
  state.clearDepth = depth;
  Record("glClearDepth", {depth});
}
void APIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  state.clearColor[0] = r;
  state.clearColor[1] = g;
  state.clearColor[2] = b;
  state.clearColor[3] = a;
  Record("glClearColor", {r, g, b, a});
}
void APIENTRY glClear(GLbitfield mask) { Record("glClear", {double(mask)}); }
void APIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  state.viewport[0] = x;
  state.viewport[1] = y;
  state.viewport[2] = width;
  state.viewport[3] = height;
  Record("glViewport", {double(x), double(y), double(width), double(height)});
}
void APIENTRY glFinish() { Record("glFinish", {}); }
void APIENTRY glDepthMask(GLboolean flag) {
  state.depthMask = flag != GL_FALSE;
  Record("glDepthMask", {double(flag)});
}

// Enables and attributes ----------------------------------------------------

void APIENTRY glEnable(GLenum cap) {
  state.Set(cap, true);
  Record("glEnable", {double(cap)});
}
void APIENTRY glDisable(GLenum cap) {
  state.Set(cap, false);
  Record("glDisable", {double(cap)});
}
void APIENTRY glPushAttrib(GLbitfield mask) {
  if (state.attribDepth < kMaxAttribDepth) attribStack[state.attribDepth] = {mask, state};
  ++state.attribDepth;
  Record("glPushAttrib", {double(mask)});
}
void APIENTRY glPopAttrib() {
  Record("glPopAttrib", {});
  if (state.attribDepth == 0) return;  // a stack underflow: GL ignores the call
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
void APIENTRY glPolygonMode(GLenum face, GLenum mode) {
  if (face == GL_FRONT || face == GL_FRONT_AND_BACK) state.polygonFront = mode;
  if (face == GL_BACK || face == GL_FRONT_AND_BACK) state.polygonBack = mode;
  Record("glPolygonMode", {double(face), double(mode)});
}
void APIENTRY glShadeModel(GLenum mode) {
  state.shadeModel = mode;
  Record("glShadeModel", {double(mode)});
}
void APIENTRY glBlendFunc(GLenum src, GLenum dst) {
  state.blendSrc = src;
  state.blendDst = dst;
  Record("glBlendFunc", {double(src), double(dst)});
}
void APIENTRY glPointSize(GLfloat size) {
  state.pointSize = size;
  Record("glPointSize", {size});
}
void APIENTRY glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
  const int n = pname == GL_POSITION || pname == GL_AMBIENT || pname == GL_DIFFUSE || pname == GL_SPECULAR ? 4
                : pname == GL_SPOT_DIRECTION                                                              ? 3
                                                                                                          : 1;
  if (pname == GL_POSITION && light >= GL_LIGHT0 && light < GL_LIGHT0 + 8) {
    const std::array<double, 4> eye = Transform(state.modelview, {params[0], params[1], params[2], params[3]});
    std::memcpy(state.lightPosition[light - GL_LIGHT0], eye.data(), sizeof eye);
  }
  GlCall* call = Record("glLightfv", {double(light), double(pname)});
  const double values[4] = {params[0], n > 1 ? params[1] : 0.0, n > 2 ? params[2] : 0.0, n > 3 ? params[3] : 0.0};
  Watch("glLightfv", values, static_cast<std::size_t>(n));
  if (call) call->args.insert(call->args.end(), params, params + n);
}

// Matrices --------------------------------------------------------------------

void APIENTRY glMatrixMode(GLenum mode) {
  state.matrixMode = mode;
  Record("glMatrixMode", {double(mode)});
}
void APIENTRY glLoadIdentity() {
  Current() = kGlIdentity;
  Record("glLoadIdentity", {});
}
void APIENTRY glPushMatrix() {
  const bool projection = state.matrixMode == GL_PROJECTION;
  int& depth = projection ? state.projectionDepth : state.modelviewDepth;
  if (depth >= 1 && depth <= kMaxMatrixDepth) (projection ? projectionStack : modelviewStack)[depth - 1] = Current();
  ++depth;
  Record("glPushMatrix", {});
}
void APIENTRY glPopMatrix() {
  const bool projection = state.matrixMode == GL_PROJECTION;
  int& depth = projection ? state.projectionDepth : state.modelviewDepth;
  --depth;
  if (depth >= 1 && depth <= kMaxMatrixDepth) Current() = (projection ? projectionStack : modelviewStack)[depth - 1];
  Record("glPopMatrix", {});
}
void APIENTRY glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  MultiplyCurrent(FromRows({2 / (r - l), 0, 0, -(r + l) / (r - l),  //
                            0, 2 / (t - b), 0, -(t + b) / (t - b),  //
                            0, 0, -2 / (f - n), -(f + n) / (f - n),  //
                            0, 0, 0, 1}));
  Record("glOrtho", {l, r, b, t, n, f});
}
void APIENTRY glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  MultiplyCurrent(FromRows({2 * n / (r - l), 0, (r + l) / (r - l), 0,  //
                            0, 2 * n / (t - b), (t + b) / (t - b), 0,  //
                            0, 0, -(f + n) / (f - n), -2 * f * n / (f - n),  //
                            0, 0, -1, 0}));
  Record("glFrustum", {l, r, b, t, n, f});
}
void APIENTRY glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  const double length = std::sqrt(x * x + y * y + z * z);
  const double ux = x / length, uy = y / length, uz = z / length;
  const double radians = angle * 3.14159265358979323846 / 180.0;
  const double c = std::cos(radians), s = std::sin(radians), k = 1 - c;
  MultiplyCurrent(FromRows({ux * ux * k + c, ux * uy * k - uz * s, ux * uz * k + uy * s, 0,  //
                            uy * ux * k + uz * s, uy * uy * k + c, uy * uz * k - ux * s, 0,  //
                            ux * uz * k - uy * s, uy * uz * k + ux * s, uz * uz * k + c, 0,  //
                            0, 0, 0, 1}));
  Record("glRotated", {angle, x, y, z});
}
void APIENTRY glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  MultiplyCurrent(FromRows({1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1}));
  Record("glTranslated", {x, y, z});
}
void APIENTRY glScaled(GLdouble x, GLdouble y, GLdouble z) {
  MultiplyCurrent(FromRows({x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}));
  Record("glScaled", {x, y, z});
}

// Immediate mode ----------------------------------------------------------------

void APIENTRY glBegin(GLenum mode) {
  state.inBeginEnd = true;
  primitiveOpen = BeginPrimitive(mode) != nullptr;
  Record("glBegin", {double(mode)});
}
void APIENTRY glEnd() {
  state.inBeginEnd = false;
  primitiveOpen = false;
  Record("glEnd", {});
}
void APIENTRY glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  AddVertex(OpenPrimitive(), x, y, z);
  Record("glVertex3d", {x, y, z});
}
void APIENTRY glVertex3dv(const GLdouble* v) {
  AddVertex(OpenPrimitive(), v[0], v[1], v[2]);
  Record("glVertex3dv", {v[0], v[1], v[2]});
}
void APIENTRY glNormal3dv(const GLdouble* v) {
  std::memcpy(state.normal, v, sizeof state.normal);
  Record("glNormal3dv", {v[0], v[1], v[2]});
}
void APIENTRY glColor3d(GLdouble r, GLdouble g, GLdouble b) {
  state.color[0] = r;
  state.color[1] = g;
  state.color[2] = b;
  state.color[3] = 1.0;
  Record("glColor3d", {r, g, b});
}
void APIENTRY glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a) {
  state.color[0] = r;
  state.color[1] = g;
  state.color[2] = b;
  state.color[3] = a;
  Record("glColor4d", {r, g, b, a});
}

// Vertex arrays -----------------------------------------------------------------

void APIENTRY glEnableClientState(GLenum array) {
  if (array == GL_VERTEX_ARRAY) state.vertexArray = true;
  Record("glEnableClientState", {double(array)});
}
void APIENTRY glDisableClientState(GLenum array) {
  if (array == GL_VERTEX_ARRAY) state.vertexArray = false;
  Record("glDisableClientState", {double(array)});
}
void APIENTRY glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
  // Only doubles are used by the program; anything else is recorded but not resolved.
  vertexPointer = type == GL_DOUBLE ? static_cast<const GLdouble*>(pointer) : nullptr;
  vertexSize = size;
  vertexStride = stride;
  Record("glVertexPointer", {double(size), double(type), double(stride)});
}
void APIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
  Record("glDrawElements", {double(mode), double(count), double(type)});
  // Only what the program uses is resolved: unsigned int indices into doubles.
  if (type != GL_UNSIGNED_INT || !state.vertexArray || !vertexPointer) return;
  GlPrimitive* primitive = BeginPrimitive(mode);
  const GLuint* index = static_cast<const GLuint*>(indices);
  const std::size_t step = vertexStride ? vertexStride / sizeof(GLdouble) : std::size_t(vertexSize);
  for (GLsizei i = 0; i < count; ++i) {
    const GLdouble* v = vertexPointer + index[i] * step;
    Watch("glDrawElements vertex", v, 3);
    AddVertex(primitive, v[0], v[1], v[2]);
  }
}

// Text ---------------------------------------------------------------------------

void APIENTRY glRasterPos2i(GLint x, GLint y) {
  const Vec3 window = recgl::WindowPoint(state, {double(x), double(y), 0.0});
  state.rasterPosition[0] = window.x;
  state.rasterPosition[1] = window.y;
  state.rasterPosition[2] = window.z;
  std::memcpy(state.rasterColor, state.color, sizeof state.rasterColor);
  textGoesOn = false;
  Record("glRasterPos2i", {double(x), double(y)});
}
void APIENTRY glListBase(GLuint base) {
  state.listBase = base;
  Record("glListBase", {double(base)});
}
void APIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
  GlCall* call = Record("glCallLists", {double(n), double(type)});
  if (!call || type != GL_UNSIGNED_BYTE) return;
  call->text.assign(static_cast<const char*>(lists), std::size_t(n));
  if (!textGoesOn || texts.back().listBase != state.listBase) {
    GlText& text = texts.emplace_back();
    text.listBase = state.listBase;
    text.state = state;
    textGoesOn = true;
  }
  texts.back().text += call->text;
}

}  // extern "C"

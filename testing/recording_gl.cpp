#include "testing/recording_gl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

// The GL functions below are C functions at global scope, so this file reads the
// library's own names unqualified.
using namespace vellumor;

namespace {

struct AttribFrame {
  GLbitfield mask = 0;
  GlState saved;
};

constexpr int kMaxAttribDepth = 16;

GlState state;
AttribFrame attribStack[kMaxAttribDepth];
std::vector<GlCall> calls;
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
  recording = true;
  vertexPointer = nullptr;
  vertexStride = 0;
  vertexSize = 3;
  nonFinite = NonFiniteSighting{};
}

void SetRecording(bool on) { recording = on; }

const std::vector<GlCall>& Calls() { return calls; }
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

void APIENTRY glClearDepth(GLclampd depth) { Record("glClearDepth", {depth}); }
void APIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { Record("glClearColor", {r, g, b, a}); }
void APIENTRY glClear(GLbitfield mask) { Record("glClear", {double(mask)}); }
void APIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
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
GLboolean APIENTRY glIsEnabled(GLenum cap) {
  Record("glIsEnabled", {double(cap)});
  return state.IsOn(cap) ? GL_TRUE : GL_FALSE;
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
  if (frame.mask & GL_CURRENT_BIT) std::memcpy(state.color, saved.color, sizeof state.color);
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
  }
  if (frame.mask & GL_POINT_BIT) state.pointSize = saved.pointSize;
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
void APIENTRY glLoadIdentity() { Record("glLoadIdentity", {}); }
void APIENTRY glPushMatrix() {
  ++(state.matrixMode == GL_PROJECTION ? state.projectionDepth : state.modelviewDepth);
  Record("glPushMatrix", {});
}
void APIENTRY glPopMatrix() {
  --(state.matrixMode == GL_PROJECTION ? state.projectionDepth : state.modelviewDepth);
  Record("glPopMatrix", {});
}
void APIENTRY glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  Record("glOrtho", {l, r, b, t, n, f});
}
void APIENTRY glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  Record("glFrustum", {l, r, b, t, n, f});
}
void APIENTRY glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) { Record("glRotated", {angle, x, y, z}); }
void APIENTRY glTranslated(GLdouble x, GLdouble y, GLdouble z) { Record("glTranslated", {x, y, z}); }
void APIENTRY glScaled(GLdouble x, GLdouble y, GLdouble z) { Record("glScaled", {x, y, z}); }

// Immediate mode ----------------------------------------------------------------

void APIENTRY glBegin(GLenum mode) {
  state.inBeginEnd = true;
  Record("glBegin", {double(mode)});
}
void APIENTRY glEnd() {
  state.inBeginEnd = false;
  Record("glEnd", {});
}
void APIENTRY glVertex3d(GLdouble x, GLdouble y, GLdouble z) { Record("glVertex3d", {x, y, z}); }
void APIENTRY glVertex3dv(const GLdouble* v) { Record("glVertex3dv", {v[0], v[1], v[2]}); }
void APIENTRY glNormal3dv(const GLdouble* v) { Record("glNormal3dv", {v[0], v[1], v[2]}); }
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
  GlCall* call = Record("glDrawElements", {double(mode), double(count), double(type)});
  if (type != GL_UNSIGNED_INT) return;
  const GLuint* index = static_cast<const GLuint*>(indices);
  if (call) {
    for (GLsizei i = 0; i < count; ++i) call->data.push_back(index[i]);
  }
  if (!state.vertexArray || !vertexPointer) return;
  const std::size_t step = vertexStride ? vertexStride / sizeof(GLdouble) : std::size_t(vertexSize);
  for (GLsizei i = 0; i < count; ++i) {
    const GLdouble* v = vertexPointer + index[i] * step;
    Watch("glDrawElements vertex", v, 3);
    if (call) call->data.insert(call->data.end(), v, v + 3);
  }
}

// Text ---------------------------------------------------------------------------

void APIENTRY glRasterPos2i(GLint x, GLint y) { Record("glRasterPos2i", {double(x), double(y)}); }
void APIENTRY glListBase(GLuint base) {
  state.listBase = base;
  Record("glListBase", {double(base)});
}
void APIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
  GlCall* call = Record("glCallLists", {double(n), double(type)});
  if (call && type == GL_UNSIGNED_BYTE) call->text.assign(static_cast<const char*>(lists), std::size_t(n));
}

}  // extern "C"

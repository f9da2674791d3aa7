#include "testing/recording_gl.h"

// The GL functions below are C functions at global scope, so this file reads the
// library's own names unqualified.
using namespace vellumor;
using calllog::Record;

namespace {

// A call whose arguments go to the model as they are: applied, then logged.
template <typename... Params, typename... Args>
void Apply(const char* name, void (*model)(Params...), Args... args) {
  model(args...);
  Record(name, {double(args)...});
}

}  // namespace

namespace vellumor::recgl {

void Reset() {
  glmodel::Reset();
  calllog::Reset();
}

void SetRecording(bool on) {
  glmodel::SetCapturing(on);
  calllog::SetRecording(on);
}

}  // namespace vellumor::recgl

extern "C" {

// Frame and buffers ------------------------------------------------------------

void APIENTRY glClearDepth(GLclampd depth) { Apply("glClearDepth", glmodel::ClearDepth, depth); }
void APIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  Apply("glClearColor", glmodel::ClearColor, r, g, b, a);
}
void APIENTRY glClear(GLbitfield mask) { Record("glClear", {double(mask)}); }
void APIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  Apply("glViewport", glmodel::Viewport, x, y, width, height);
}
void APIENTRY glFinish() { Record("glFinish", {}); }
void APIENTRY glDepthMask(GLboolean flag) { Apply("glDepthMask", glmodel::DepthMask, flag); }

// Enables and attributes ----------------------------------------------------

void APIENTRY glEnable(GLenum cap) {
  glmodel::Enable(cap, true);
  Record("glEnable", {double(cap)});
}
void APIENTRY glDisable(GLenum cap) {
  glmodel::Enable(cap, false);
  Record("glDisable", {double(cap)});
}
void APIENTRY glPushAttrib(GLbitfield mask) { Apply("glPushAttrib", glmodel::PushAttrib, mask); }
void APIENTRY glPopAttrib() { Apply("glPopAttrib", glmodel::PopAttrib); }
void APIENTRY glPolygonMode(GLenum face, GLenum mode) { Apply("glPolygonMode", glmodel::PolygonMode, face, mode); }
void APIENTRY glShadeModel(GLenum mode) { Apply("glShadeModel", glmodel::ShadeModel, mode); }
void APIENTRY glBlendFunc(GLenum src, GLenum dst) { Apply("glBlendFunc", glmodel::BlendFunc, src, dst); }
void APIENTRY glPointSize(GLfloat size) { Apply("glPointSize", glmodel::PointSize, size); }
void APIENTRY glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
  glmodel::Light(light, pname, params);
  Record("glLightfv", {double(light), double(pname)}, params, calllog::LightValueCount(pname));
}

// Matrices --------------------------------------------------------------------

void APIENTRY glMatrixMode(GLenum mode) { Apply("glMatrixMode", glmodel::MatrixMode, mode); }
void APIENTRY glLoadIdentity() { Apply("glLoadIdentity", glmodel::LoadIdentity); }
void APIENTRY glPushMatrix() { Apply("glPushMatrix", glmodel::PushMatrix); }
void APIENTRY glPopMatrix() { Apply("glPopMatrix", glmodel::PopMatrix); }
void APIENTRY glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  Apply("glOrtho", glmodel::Ortho, l, r, b, t, n, f);
}
void APIENTRY glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  Apply("glFrustum", glmodel::Frustum, l, r, b, t, n, f);
}
void APIENTRY glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  Apply("glRotated", glmodel::Rotate, angle, x, y, z);
}
void APIENTRY glTranslated(GLdouble x, GLdouble y, GLdouble z) { Apply("glTranslated", glmodel::Translate, x, y, z); }
void APIENTRY glScaled(GLdouble x, GLdouble y, GLdouble z) { Apply("glScaled", glmodel::Scale, x, y, z); }

// Immediate mode ----------------------------------------------------------------

void APIENTRY glBegin(GLenum mode) { Apply("glBegin", glmodel::Begin, mode); }
void APIENTRY glEnd() { Apply("glEnd", glmodel::End); }
void APIENTRY glVertex3d(GLdouble x, GLdouble y, GLdouble z) { Apply("glVertex3d", glmodel::Vertex, x, y, z); }
void APIENTRY glVertex3dv(const GLdouble* v) {
  glmodel::Vertex(v[0], v[1], v[2]);
  Record("glVertex3dv", {v[0], v[1], v[2]});
}
void APIENTRY glNormal3dv(const GLdouble* v) {
  glmodel::Normal(v);
  Record("glNormal3dv", {v[0], v[1], v[2]});
}
void APIENTRY glColor3d(GLdouble r, GLdouble g, GLdouble b) {
  glmodel::Color(r, g, b, 1.0);
  Record("glColor3d", {r, g, b});
}
void APIENTRY glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a) {
  Apply("glColor4d", glmodel::Color, r, g, b, a);
}

// Vertex arrays -----------------------------------------------------------------

void APIENTRY glEnableClientState(GLenum array) {
  glmodel::EnableClientState(array, true);
  Record("glEnableClientState", {double(array)});
}
void APIENTRY glDisableClientState(GLenum array) {
  glmodel::EnableClientState(array, false);
  Record("glDisableClientState", {double(array)});
}
void APIENTRY glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
  glmodel::VertexPointer(size, type, stride, pointer);
  Record("glVertexPointer", {double(size), double(type), double(stride)});
}
void APIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
  Record("glDrawElements", {double(mode), double(count), double(type)});
  glmodel::DrawElements(mode, count, type, indices,
                        [](const double* v) { calllog::Watch("glDrawElements vertex", v, 3); });
}

// Text ---------------------------------------------------------------------------

void APIENTRY glRasterPos2i(GLint x, GLint y) { Apply("glRasterPos2i", glmodel::RasterPos, x, y); }
void APIENTRY glListBase(GLuint base) { Apply("glListBase", glmodel::ListBase, base); }
void APIENTRY glDeleteLists(GLuint list, GLsizei range) { Record("glDeleteLists", {double(list), double(range)}); }
void APIENTRY glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
  GlCall* call = Record("glCallLists", {double(n), double(type)});
  if (type != GL_UNSIGNED_BYTE) return;  // the font's lists are called by character
  const std::string_view characters(static_cast<const char*>(lists), std::size_t(n));
  glmodel::CallLists(characters);
  if (call) call->text = characters;
}

}  // extern "C"

// OpenGL's state entry points: enables and the attribute stack, the
// per-fragment state, the light, the frame buffer and the matrices.

#include <GL/gl.h>

#include <algorithm>

#include "gl_over_webgl/context.h"

using namespace vellumor::webgl;

namespace {

void SetEnabled(GLenum cap, bool on) {
  if (bool* flag = EnableFlag(TheContext().state.enables, cap)) *flag = on;
}

MatrixStack& CurrentStack() {
  Context& c = TheContext();
  return c.state.matrixMode == GL_PROJECTION ? c.projection : c.modelview;
}

// The current matrix times m, as every matrix call but glLoadIdentity does.
void MultiplyCurrent(const Matrix& m) {
  Matrix& current = CurrentMatrix(TheContext());
  current = Multiply(current, m);
}

}  // namespace

extern "C" {

void GLAPIENTRY glEnable(GLenum cap) { SetEnabled(cap, true); }
void GLAPIENTRY glDisable(GLenum cap) { SetEnabled(cap, false); }

void GLAPIENTRY glPushAttrib(GLbitfield mask) {
  Context& c = TheContext();
  if (c.attribDepth == kAttribStackDepth) return;  // GL_STACK_OVERFLOW
  c.attribStack[c.attribDepth++] = {mask, c.state};
}
void GLAPIENTRY glPopAttrib() {
  Context& c = TheContext();
  if (c.attribDepth == 0) return;  // GL_STACK_UNDERFLOW
  const Context::SavedAttribs& saved = c.attribStack[--c.attribDepth];
  RestoreGroups(c.state, saved.state, saved.mask);
}

void GLAPIENTRY glPolygonMode(GLenum face, GLenum mode) {
  State& s = TheContext().state;
  if (face == GL_FRONT || face == GL_FRONT_AND_BACK) s.polygonFront = mode;
  if (face == GL_BACK || face == GL_FRONT_AND_BACK) s.polygonBack = mode;
}
// Kept for the attribute stack; the viewer shades smoothly throughout.
void GLAPIENTRY glShadeModel(GLenum mode) { TheContext().state.shadeModel = mode; }
void GLAPIENTRY glBlendFunc(GLenum src, GLenum dst) {
  TheContext().state.blendSrc = src;
  TheContext().state.blendDst = dst;
}
void GLAPIENTRY glDepthMask(GLboolean flag) { TheContext().state.depthMask = flag != GL_FALSE; }
void GLAPIENTRY glPointSize(GLfloat size) {
  if (size > 0.0f) TheContext().state.pointSize = size;
}

// The viewer places its light and sets nothing else of it. The position is
// carried into eye coordinates by the modelview current now.
void GLAPIENTRY glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
  Context& c = TheContext();
  if (light < GL_LIGHT0 || light >= GL_LIGHT0 + kLightCount || pname != GL_POSITION) return;
  c.state.lights[light - GL_LIGHT0].position =
      Transform(c.modelview.matrices[c.modelview.depth - 1], {params[0], params[1], params[2], params[3]});
}

void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (width < 0 || height < 0) return;  // GL_INVALID_VALUE
  GLint* v = TheContext().state.viewport;
  v[0] = x;
  v[1] = y;
  v[2] = width;
  v[3] = height;
}
void GLAPIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  TheContext().state.clearColor = {std::clamp(r, 0.0f, 1.0f), std::clamp(g, 0.0f, 1.0f), std::clamp(b, 0.0f, 1.0f),
                                   std::clamp(a, 0.0f, 1.0f)};
}
void GLAPIENTRY glClearDepth(GLclampd depth) { TheContext().state.clearDepth = std::clamp(depth, 0.0, 1.0); }
// Draws what is gathered first, so the clear lands between the same draws as
// in OpenGL. A depth buffer under glDepthMask(GL_FALSE) keeps its values.
void GLAPIENTRY glClear(GLbitfield mask) {
  Context& c = TheContext();
  c.batcher.Flush();
  Backend* backend = c.batcher.backend();
  const bool color = (mask & GL_COLOR_BUFFER_BIT) != 0;
  const bool depth = (mask & GL_DEPTH_BUFFER_BIT) != 0 && c.state.depthMask;
  if (backend == nullptr || !(color || depth)) return;
  const float rgba[4] = {float(c.state.clearColor[0]), float(c.state.clearColor[1]), float(c.state.clearColor[2]),
                         float(c.state.clearColor[3])};
  backend->Clear(color, depth, rgba, static_cast<float>(c.state.clearDepth));
}
// Hands everything gathered to the backend. The browser shows the frame when
// the animation frame returns, so there is nothing to wait for.
void GLAPIENTRY glFinish() { TheContext().batcher.Flush(); }

void GLAPIENTRY glMatrixMode(GLenum mode) {
  if (mode == GL_MODELVIEW || mode == GL_PROJECTION) TheContext().state.matrixMode = mode;
}
void GLAPIENTRY glLoadIdentity() { CurrentMatrix(TheContext()) = kIdentity; }
void GLAPIENTRY glPushMatrix() {
  MatrixStack& stack = CurrentStack();
  if (stack.depth == kMatrixStackDepth) return;  // GL_STACK_OVERFLOW
  stack.matrices[stack.depth] = stack.matrices[stack.depth - 1];
  ++stack.depth;
}
void GLAPIENTRY glPopMatrix() {
  MatrixStack& stack = CurrentStack();
  if (stack.depth > 1) --stack.depth;  // else GL_STACK_UNDERFLOW
}
// Both leave the matrix as it is for a box of no width, height or depth (and
// glFrustum for planes at or behind the eye), as OpenGL does.
void GLAPIENTRY glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  if (l == r || b == t || n == f) return;  // GL_INVALID_VALUE
  MultiplyCurrent(Ortho(l, r, b, t, n, f));
}
void GLAPIENTRY glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  if (l == r || b == t || n == f || n <= 0.0 || f <= 0.0) return;  // GL_INVALID_VALUE
  MultiplyCurrent(Frustum(l, r, b, t, n, f));
}
void GLAPIENTRY glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
  MultiplyCurrent(Rotation(angle, x, y, z));
}
void GLAPIENTRY glTranslated(GLdouble x, GLdouble y, GLdouble z) { MultiplyCurrent(Translation(x, y, z)); }
void GLAPIENTRY glScaled(GLdouble x, GLdouble y, GLdouble z) { MultiplyCurrent(Scaling(x, y, z)); }

}  // extern "C"

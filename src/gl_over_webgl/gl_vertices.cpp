// OpenGL's vertex entry points: immediate mode, the current colour and
// normal, and the vertex array.

#include <GL/gl.h>

#include <cstddef>

#include "gl_over_webgl/context.h"

using namespace vellumor::webgl;

namespace {

void AddVertex(double x, double y, double z) {
  Context& c = TheContext();
  if (c.inBeginEnd) AssembleVertex(c, x, y, z);
}

void Begin(GLenum mode) {
  Context& c = TheContext();
  if (c.inBeginEnd) return;  // GL_INVALID_OPERATION
  c.inBeginEnd = true;
  c.mode = mode;
  BeginPrimitive(c);
}

void End() { TheContext().inBeginEnd = false; }

template <typename T>
void ArrayVertex(const VertexArray& array, std::size_t index) {
  const std::size_t stride = array.stride != 0 ? static_cast<std::size_t>(array.stride) : array.size * sizeof(T);
  const T* v = reinterpret_cast<const T*>(static_cast<const unsigned char*>(array.pointer) + index * stride);
  AddVertex(v[0], v[1], array.size > 2 ? v[2] : 0.0);
}

template <typename I>
void ArrayElements(GLsizei count, const void* indices) {
  const VertexArray& array = TheContext().client.vertexArray;
  const I* index = static_cast<const I*>(indices);
  for (GLsizei i = 0; i < count; ++i) {
    if (array.type == GL_DOUBLE) ArrayVertex<GLdouble>(array, index[i]);
    if (array.type == GL_FLOAT) ArrayVertex<GLfloat>(array, index[i]);
  }
}

}  // namespace

extern "C" {

void GLAPIENTRY glBegin(GLenum mode) { Begin(mode); }
void GLAPIENTRY glEnd() { End(); }
void GLAPIENTRY glVertex3d(GLdouble x, GLdouble y, GLdouble z) { AddVertex(x, y, z); }
void GLAPIENTRY glVertex3dv(const GLdouble* v) { AddVertex(v[0], v[1], v[2]); }
void GLAPIENTRY glNormal3dv(const GLdouble* v) { TheContext().state.normal = {v[0], v[1], v[2]}; }
void GLAPIENTRY glColor3d(GLdouble r, GLdouble g, GLdouble b) { TheContext().state.color = {r, g, b, 1.0}; }
void GLAPIENTRY glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a) { TheContext().state.color = {r, g, b, a}; }

void GLAPIENTRY glEnableClientState(GLenum array) {
  if (array == GL_VERTEX_ARRAY) TheContext().client.vertexArray.enabled = true;
}
void GLAPIENTRY glDisableClientState(GLenum array) {
  if (array == GL_VERTEX_ARRAY) TheContext().client.vertexArray.enabled = false;
}
void GLAPIENTRY glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
  if (size < 2 || size > 4 || stride < 0) return;  // GL_INVALID_VALUE
  TheContext().client.vertexArray = {TheContext().client.vertexArray.enabled, size, type, stride, pointer};
}

// The vertices of the array's elements, as glBegin ... glEnd with glVertex
// for each. Only positions come from the array: colour and normal stay current.
void GLAPIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
  const Context& c = TheContext();
  if (c.inBeginEnd || count <= 0 || !c.client.vertexArray.enabled || c.client.vertexArray.pointer == nullptr) return;
  Begin(mode);
  if (type == GL_UNSIGNED_BYTE) ArrayElements<GLubyte>(count, indices);
  if (type == GL_UNSIGNED_SHORT) ArrayElements<GLushort>(count, indices);
  if (type == GL_UNSIGNED_INT) ArrayElements<GLuint>(count, indices);
  End();
}

}  // extern "C"

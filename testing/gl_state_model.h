#pragma once
// The recording OpenGL's model of the state the program's calls leave behind:
// enable flags, the attribute stack, colour, normal, blend function, depth mask,
// polygon mode, the viewport, the modelview and projection matrices with their
// stacks, light positions, and the primitives and text drawn with the state
// they were drawn in. Nothing is rasterised.

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/vec3.h"

namespace vellumor {

// Column-major, as OpenGL keeps it: element 4 * column + row.
using GlMatrix = std::array<double, 16>;
inline constexpr GlMatrix kGlIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct GlState {
  static constexpr std::size_t kMaxCaps = 32;
  GLenum caps[kMaxCaps] = {};
  bool capOn[kMaxCaps] = {};
  std::size_t capCount = 0;

  double clearColor[4] = {0.0, 0.0, 0.0, 0.0};
  double clearDepth = 1.0;
  double color[4] = {1.0, 1.0, 1.0, 1.0};
  double normal[3] = {0.0, 0.0, 1.0};
  // Set by glRasterPos: window coordinates, and the colour current at that moment.
  double rasterPosition[3] = {0.0, 0.0, 0.0};
  double rasterColor[4] = {1.0, 1.0, 1.0, 1.0};
  GLenum blendSrc = GL_ONE;
  GLenum blendDst = GL_ZERO;
  bool depthMask = true;
  GLenum polygonFront = GL_FILL;
  GLenum polygonBack = GL_FILL;
  GLenum shadeModel = GL_SMOOTH;
  double pointSize = 1.0;
  GLint viewport[4] = {0, 0, 0, 0};
  GLenum matrixMode = GL_MODELVIEW;
  GlMatrix modelview = kGlIdentity;
  GlMatrix projection = kGlIdentity;
  int modelviewDepth = 1;
  int projectionDepth = 1;
  // Of GL_LIGHT0 to GL_LIGHT7, in eye coordinates: transformed by the modelview
  // current when glLightfv set them.
  double lightPosition[8][4] = {{0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 1, 0},
                                {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}};
  int attribDepth = 0;
  bool vertexArray = false;
  GLuint listBase = 0;
  bool inBeginEnd = false;

  bool IsOn(GLenum cap) const;
  void Set(GLenum cap, bool on);
};

struct GlVertex {
  Vec3 position;  // as given, in object coordinates
  double color[4] = {};
  double normal[3] = {};
};

// One glBegin ... glEnd, or one glDrawElements.
struct GlPrimitive {
  GLenum mode = GL_POINTS;
  std::vector<GlVertex> vertices;
  GlState state;  // as it was when the primitive began
};

// The characters of glCallLists calls from one raster position on, as the
// font's display lists draw them: each list advances the raster position.
struct GlText {
  std::string text;
  GLuint listBase = 0;  // the list of character c is listBase + c
  GlState state;        // as it was when the text began, raster position and colour included
};

namespace recgl {

const std::vector<GlPrimitive>& Primitives();
const std::vector<GlText>& Texts();
const GlState& State();

// Where an object-space point lands with this state's matrices and viewport:
// window x and y in pixels (y up, as OpenGL counts) and depth from 0 (near) to 1 (far).
Vec3 WindowPoint(const GlState& state, const Vec3& point);

}  // namespace recgl

// What each GL call does to the state, named after the call.
namespace glmodel {

// Back to OpenGL's initial state, with nothing drawn.
void Reset();
// Off, the state is still tracked but no primitives or text are kept (and nothing is allocated).
void SetCapturing(bool on);

void ClearDepth(double depth);
void ClearColor(double r, double g, double b, double a);
void Viewport(GLint x, GLint y, GLsizei width, GLsizei height);
void DepthMask(GLboolean flag);

void Enable(GLenum cap, bool on);
void PushAttrib(GLbitfield mask);
// Restores the groups the matching push named; an underflow is ignored, as GL does.
void PopAttrib();
void PolygonMode(GLenum face, GLenum mode);
void ShadeModel(GLenum mode);
void BlendFunc(GLenum src, GLenum dst);
void PointSize(double size);
void Light(GLenum light, GLenum pname, const GLfloat* params);

void MatrixMode(GLenum mode);
void LoadIdentity();
void PushMatrix();
void PopMatrix();
void Ortho(double l, double r, double b, double t, double n, double f);
void Frustum(double l, double r, double b, double t, double n, double f);
void Rotate(double angle, double x, double y, double z);
void Translate(double x, double y, double z);
void Scale(double x, double y, double z);

void Begin(GLenum mode);
void End();
void Vertex(double x, double y, double z);  // with the current colour and normal
void Normal(const double* v);
void Color(double r, double g, double b, double a);

void EnableClientState(GLenum array, bool on);
void VertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer);
// One primitive of the indexed vertices; each vertex an index reaches is also
// shown to `reached`, whether primitives are kept or not.
using VertexReached = void (*)(const double* xyz);
void DrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices, VertexReached reached);

void RasterPos(GLint x, GLint y);
void ListBase(GLuint base);
void CallLists(std::string_view characters);

}  // namespace glmodel

}  // namespace vellumor

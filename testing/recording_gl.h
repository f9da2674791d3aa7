#pragma once
// A recording OpenGL for the unit tests. It defines the GL 1.1 functions the
// core calls, records each call with its arguments (pointer arguments read
// out), and models what the tests check the calls achieve: enable flags, the
// attribute stack, colour, normal, blend function, depth mask, polygon mode,
// the viewport, the modelview and projection matrices with their stacks, light
// positions, and the primitives and text drawn with the state they were drawn in.
// It also watches every argument (and every vertex an index reaches) for
// values that are not finite, recording or not. Nothing is rasterised.

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/vec3.h"

namespace vellumor {

struct GlCall {
  const char* name = "";
  std::vector<double> args;  // scalar arguments in order; glXxxv: the values pointed to
  std::string text;          // glCallLists: the bytes
};

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

// Forgets every call, primitive and text and returns the state to OpenGL's initial one.
void Reset();
// Recording off keeps tracking state but stores no calls, primitives or text (and allocates nothing).
void SetRecording(bool on);

const std::vector<GlCall>& Calls();
const std::vector<GlPrimitive>& Primitives();
const std::vector<GlText>& Texts();
const GlState& State();

// The calls with this name, in order.
std::vector<GlCall> Named(std::string_view name);
std::size_t Count(std::string_view name);
// Names of all calls in order, for the few places where the order is the behaviour.
std::vector<std::string> Names();
// Index of the first call with this name at or after `from`, or Calls().size().
std::size_t Find(std::string_view name, std::size_t from = 0);

// Where an object-space point lands with this state's matrices and viewport:
// window x and y in pixels (y up, as OpenGL counts) and depth from 0 (near) to 1 (far).
Vec3 WindowPoint(const GlState& state, const Vec3& point);

// Calls since Reset that were given an infinity or NaN, and the first of them
// written out ("glVertex3dv(1, nan, 3)"; empty when there was none).
std::size_t NonFiniteCalls();
std::string FirstNonFiniteCall();

}  // namespace recgl

}  // namespace vellumor

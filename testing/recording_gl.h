#pragma once
// A recording OpenGL for the unit tests. It defines the GL 1.1 functions the
// core calls, records each call with its arguments (pointer arguments read
// out), and keeps the little state the tests assert on: enable flags, the
// attribute stack, colour, blend function, depth mask, polygon mode and the
// matrix stacks' depths. It also watches every argument (and every vertex an
// index reaches) for values that are not finite, recording or not. Nothing is drawn.

#include <GL/gl.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vellumor {

struct GlCall {
  const char* name = "";
  std::vector<double> args;  // scalar arguments in order; glXxxv: the values pointed to
  std::vector<double> data;  // glDrawElements: the indices, then the x, y, z of each indexed vertex
  std::string text;          // glCallLists: the bytes
};

struct GlState {
  static constexpr std::size_t kMaxCaps = 32;
  GLenum caps[kMaxCaps] = {};
  bool capOn[kMaxCaps] = {};
  std::size_t capCount = 0;

  double color[4] = {1.0, 1.0, 1.0, 1.0};
  GLenum blendSrc = GL_ONE;
  GLenum blendDst = GL_ZERO;
  bool depthMask = true;
  GLenum polygonFront = GL_FILL;
  GLenum polygonBack = GL_FILL;
  GLenum shadeModel = GL_SMOOTH;
  double pointSize = 1.0;
  GLenum matrixMode = GL_MODELVIEW;
  int modelviewDepth = 1;
  int projectionDepth = 1;
  int attribDepth = 0;
  bool vertexArray = false;
  GLuint listBase = 0;
  bool inBeginEnd = false;

  bool IsOn(GLenum cap) const;
  void Set(GLenum cap, bool on);
};

namespace recgl {

// Forgets every call and returns the state to OpenGL's initial one.
void Reset();
// Recording off keeps tracking state but stores no calls (and allocates nothing).
void SetRecording(bool on);

const std::vector<GlCall>& Calls();
const GlState& State();

// The calls with this name, in order.
std::vector<GlCall> Named(std::string_view name);
std::size_t Count(std::string_view name);
// Names of all calls in order, for asserting sequences.
std::vector<std::string> Names();
// Index of the first call with this name at or after `from`, or Calls().size().
std::size_t Find(std::string_view name, std::size_t from = 0);

// Calls since Reset that were given an infinity or NaN, and the first of them
// written out ("glVertex3dv(1, nan, 3)"; empty when there was none).
std::size_t NonFiniteCalls();
std::string FirstNonFiniteCall();

}  // namespace recgl

}  // namespace vellumor

#pragma once
// The server-side state of the OpenGL subset, grouped as glPushAttrib saves
// it. Only what the viewer sets is here; everything else keeps OpenGL's
// initial value and is a constant of the code that uses it.

#include <GL/gl.h>

#include <array>

#include "gl_over_webgl/matrix.h"

namespace vellumor::webgl {

using Rgba = std::array<double, 4>;

inline constexpr int kLightCount = 8;

struct Enables {
  bool depthTest = false;
  bool lighting = false;
  bool blend = false;
  bool lights[kLightCount] = {};
};

struct Light {
  Rgba ambient = {0, 0, 0, 1};
  Rgba diffuse = {0, 0, 0, 1};  // GL_LIGHT0's is white, see State
  Vec4 position = {0, 0, 1, 0};  // eye coordinates, as glLightfv left it
};

// Where glRasterPos put the raster position and what it latched there.
struct RasterPosition {
  bool valid = true;
  Vec3d window = {0, 0, 0};  // x, y in window pixels (y up), z from 0 to 1
  Rgba color = {1, 1, 1, 1};
};

struct State {
  Enables enables;
  // GL_CURRENT_BIT
  Rgba color = {1, 1, 1, 1};
  Vec3d normal = {0, 0, 1};
  RasterPosition raster;
  // GL_POLYGON_BIT
  GLenum polygonFront = GL_FILL;
  GLenum polygonBack = GL_FILL;
  // GL_LIGHTING_BIT
  GLenum shadeModel = GL_SMOOTH;
  Light lights[kLightCount] = {{{0, 0, 0, 1}, {1, 1, 1, 1}, {0, 0, 1, 0}}};
  // GL_COLOR_BUFFER_BIT
  GLenum blendSrc = GL_ONE;
  GLenum blendDst = GL_ZERO;
  Rgba clearColor = {0, 0, 0, 0};
  // GL_DEPTH_BUFFER_BIT
  bool depthMask = true;
  double clearDepth = 1.0;
  // GL_POINT_BIT
  double pointSize = 1.0;
  // GL_VIEWPORT_BIT
  GLint viewport[4] = {0, 0, 0, 0};
  // GL_TRANSFORM_BIT
  GLenum matrixMode = GL_MODELVIEW;
  // GL_LIST_BIT
  GLuint listBase = 0;
};

// The flag of an enable cap, or null for a cap the subset does not know.
bool* EnableFlag(Enables& enables, GLenum cap);

// What glPopAttrib gives back of `saved` for the groups in `mask`.
void RestoreGroups(State& state, const State& saved, GLbitfield mask);

}  // namespace vellumor::webgl

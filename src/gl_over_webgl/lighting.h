#pragma once
// OpenGL 1.1's lighting equation, evaluated per vertex as OpenGL does it.

#include "gl_over_webgl/state.h"

namespace vellumor::webgl {

// The colour of a vertex at `eye` (eye coordinates) with the normal `normal`
// (already in eye space, and not normalised: GL_NORMALIZE is off), lit by the
// enabled lights of `state`, clamped to 0..1.
Rgba LitColor(const State& state, const Vec4& eye, const Vec3d& normal);

}  // namespace vellumor::webgl

#pragma once
// OpenGL 1.1's lighting equation, evaluated per vertex as OpenGL does it.

#include "gl_over_webgl/state.h"

namespace vellumor::webgl {

// What of the equation stays the same for every vertex of a primitive: the
// ambient sum and, for each enabled light, its position or direction and its
// diffuse product with the material.
struct LightTerms {
  struct Term {
    bool positional = false;
    Vec3d at = {0, 0, 0};  // positional: the light's eye position; else its unit direction
    Vec3d diffuse = {0, 0, 0};
  };
  Vec3d ambient = {0, 0, 0};
  int count = 0;
  Term lights[kLightCount];
};

LightTerms TermsOf(const State& state);

// The colour of a vertex at `eye` (eye coordinates) with the normal `normal`
// (already in eye space, and not normalised: GL_NORMALIZE is off), clamped to 0..1.
Rgba LitColor(const LightTerms& terms, const Vec4& eye, const Vec3d& normal);
inline Rgba LitColor(const State& state, const Vec4& eye, const Vec3d& normal) {
  return LitColor(TermsOf(state), eye, normal);
}

}  // namespace vellumor::webgl

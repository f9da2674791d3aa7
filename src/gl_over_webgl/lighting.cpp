#include "gl_over_webgl/lighting.h"

#include <algorithm>
#include <cmath>

namespace vellumor::webgl {

namespace {

// OpenGL's initial material and light model, which nothing here changes.
// Emission and specular reflectance are black, and attenuation and spotlights
// keep their neutral values, so those terms of the equation add nothing.
constexpr Rgba kMaterialAmbient = {0.2, 0.2, 0.2, 1.0};
constexpr Rgba kMaterialDiffuse = {0.8, 0.8, 0.8, 1.0};
constexpr Rgba kModelAmbient = {0.2, 0.2, 0.2, 1.0};

}  // namespace

LightTerms TermsOf(const State& state) {
  LightTerms terms;
  for (int i = 0; i < 3; ++i) terms.ambient[i] = kMaterialAmbient[i] * kModelAmbient[i];
  for (int l = 0; l < kLightCount; ++l) {
    if (!state.enables.lights[l]) continue;
    const Light& light = state.lights[l];
    LightTerms::Term& term = terms.lights[terms.count++];
    const Vec4& p = light.position;
    term.positional = p[3] != 0.0;
    if (term.positional) {
      term.at = {p[0] / p[3], p[1] / p[3], p[2] / p[3]};
    } else {
      const double length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
      const double scale = length > 0.0 ? 1.0 / length : 1.0;
      term.at = {p[0] * scale, p[1] * scale, p[2] * scale};
    }
    for (int i = 0; i < 3; ++i) {
      terms.ambient[i] += kMaterialAmbient[i] * light.ambient[i];
      term.diffuse[i] = kMaterialDiffuse[i] * light.diffuse[i];
    }
  }
  return terms;
}

Rgba LitColor(const LightTerms& terms, const Vec4& eye, const Vec3d& n) {
  Rgba c = {terms.ambient[0], terms.ambient[1], terms.ambient[2], kMaterialDiffuse[3]};
  for (int l = 0; l < terms.count; ++l) {
    const LightTerms::Term& light = terms.lights[l];
    // The unit vector from the vertex towards the light: towards its position
    // for a positional light, along its direction for a directional one.
    double facing = n[0] * light.at[0] + n[1] * light.at[1] + n[2] * light.at[2];
    if (light.positional) {
      double d[3] = {light.at[0] - eye[0], light.at[1] - eye[1], light.at[2] - eye[2]};
      if (eye[3] != 1.0 && eye[3] != 0.0) {
        for (int i = 0; i < 3; ++i) d[i] = light.at[i] - eye[i] / eye[3];
      }
      facing = n[0] * d[0] + n[1] * d[1] + n[2] * d[2];
      if (facing <= 0.0) continue;
      const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
      if (length > 0.0) facing /= length;
    }
    if (facing <= 0.0) continue;
    for (int i = 0; i < 3; ++i) c[i] += facing * light.diffuse[i];
  }
  for (double& v : c) v = std::clamp(v, 0.0, 1.0);
  return c;
}

}  // namespace vellumor::webgl

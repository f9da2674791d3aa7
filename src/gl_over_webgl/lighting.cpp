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

// The unit vector from the vertex towards the light: towards its position
// for a positional light (w not 0), along its direction for a directional one.
Vec3d TowardsLight(const Vec4& light, const Vec4& eye) {
  Vec3d d = {light[0], light[1], light[2]};
  if (light[3] != 0.0) {
    const double ew = eye[3] != 0.0 ? eye[3] : 1.0;
    for (int i = 0; i < 3; ++i) d[i] = light[i] / light[3] - eye[i] / ew;
  }
  const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  if (length > 0.0) {
    for (double& c : d) c /= length;
  }
  return d;
}

}  // namespace

Rgba LitColor(const State& state, const Vec4& eye, const Vec3d& normal) {
  Rgba c{};
  for (int i = 0; i < 3; ++i) c[i] = kMaterialAmbient[i] * kModelAmbient[i];
  for (int l = 0; l < kLightCount; ++l) {
    if (!state.enables.lights[l]) continue;
    const Light& light = state.lights[l];
    const Vec3d towards = TowardsLight(light.position, eye);
    const double facing =
        std::max(0.0, normal[0] * towards[0] + normal[1] * towards[1] + normal[2] * towards[2]);
    for (int i = 0; i < 3; ++i) {
      c[i] += kMaterialAmbient[i] * light.ambient[i] + facing * kMaterialDiffuse[i] * light.diffuse[i];
    }
  }
  c[3] = kMaterialDiffuse[3];
  for (double& v : c) v = std::clamp(v, 0.0, 1.0);
  return c;
}

}  // namespace vellumor::webgl

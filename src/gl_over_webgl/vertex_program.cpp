#include "gl_over_webgl/vertex_program.h"

namespace vellumor::webgl {

const char* const kVertexProgram = R"(
precision highp float;
attribute vec3 position;
attribute vec4 color;
uniform mat4 clip;
uniform float pointSize;
varying vec4 shade;
void main() {
  gl_Position = clip * vec4(position, 1.0);
  gl_PointSize = pointSize;
  shade = color;
}
)";

ShadedVertex RunVertexProgram(const Shading& s, const Vertex& v) {
  const float p[4] = {v.position[0], v.position[1], v.position[2], 1.0f};
  ShadedVertex out{};
  for (int row = 0; row < 4; ++row) {
    out.position[row] = s.clip[row] * p[0] + s.clip[4 + row] * p[1] + s.clip[8 + row] * p[2] + s.clip[12 + row] * p[3];
  }
  for (int i = 0; i < 4; ++i) out.color[i] = v.color[i];
  return out;
}

}  // namespace vellumor::webgl

#pragma once
// The vertex program every batch is drawn with: OpenGL 1.1's transform of
// the vertex to clip coordinates, as WebGL runs it (GLSL ES 1.0) and as the
// same steps in single precision here, which the native tests draw through.

#include "gl_over_webgl/backend.h"

namespace vellumor::webgl {

// The program's source. Attributes: `position` and `color`, as in Vertex;
// uniforms: `clip` (Shading's) and `pointSize`.
extern const char* const kVertexProgram;

struct ShadedVertex {
  float position[4];  // clip coordinates
  float color[4];
};

ShadedVertex RunVertexProgram(const Shading& shading, const Vertex& vertex);

}  // namespace vellumor::webgl

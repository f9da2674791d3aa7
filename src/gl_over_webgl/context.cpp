#include "gl_over_webgl/context.h"

#include <algorithm>

#include "gl_over_webgl/lighting.h"

namespace vellumor::webgl {

namespace {
Context context;
}  // namespace

Context& TheContext() { return context; }

void ResetContext() {
  Backend* backend = context.batcher.backend();
  context = Context{};
  context.batcher.SetBackend(backend);
}

void SetBackend(Backend* backend) {
  context.batcher.Flush();
  context.batcher.SetBackend(backend);
}

Matrix& CurrentMatrix(Context& c) {
  MatrixStack& stack = c.state.matrixMode == GL_PROJECTION ? c.projection : c.modelview;
  return stack.matrices[stack.depth - 1];
}

RasterState CurrentRasterState(const Context& c) {
  const State& s = c.state;
  RasterState r;
  std::copy(std::begin(s.viewport), std::end(s.viewport), r.viewport);
  r.depthTest = s.enables.depthTest;
  r.depthWrite = s.depthMask;
  r.blend = s.enables.blend;
  r.blendSrc = s.blendSrc;
  r.blendDst = s.blendDst;
  r.pointSize = static_cast<float>(s.pointSize);
  return r;
}

Vertex ShadeVertex(const Context& c, const Vec4& object, const NormalMatrix& normals, Vec4* clipOut) {
  const Vec4 eye = Transform(c.modelview.matrices[c.modelview.depth - 1], object);
  const Vec4 clip = Transform(c.projection.matrices[c.projection.depth - 1], eye);
  Rgba color = c.state.color;
  if (c.state.enables.lighting) {
    color = LitColor(c.state, eye, Transform(normals, c.state.normal));
  } else {
    for (double& v : color) v = std::clamp(v, 0.0, 1.0);
  }
  Vertex v;
  for (int i = 0; i < 4; ++i) {
    v.position[i] = static_cast<float>(clip[i]);
    v.color[i] = static_cast<float>(color[i]);
  }
  if (clipOut != nullptr) *clipOut = clip;
  return v;
}

}  // namespace vellumor::webgl

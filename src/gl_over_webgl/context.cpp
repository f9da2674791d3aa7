#include "gl_over_webgl/context.h"

#include <algorithm>

#include "gl_over_webgl/lighting.h"

namespace vellumor::webgl {

namespace {
Context context;

// As when a GL context is first made current on a window: the viewport is
// the whole drawable.
void FitViewport() {
  Backend* backend = context.batcher.backend();
  if (backend == nullptr) return;
  const DrawableSize size = backend->Size();
  GLint* viewport = context.state.viewport;
  viewport[0] = viewport[1] = 0;
  viewport[2] = size.width;
  viewport[3] = size.height;
}
}  // namespace

Context& TheContext() { return context; }

void ResetContext() {
  Backend* backend = context.batcher.backend();
  context = Context{};
  context.batcher.SetBackend(backend);
  FitViewport();
}

void SetBackend(Backend* backend) {
  context.batcher.Flush();
  context.batcher.SetBackend(backend);
  FitViewport();
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

Shading CurrentShading(const Context& c, Vec3d& origin) {
  const Matrix& modelview = c.modelview.matrices[c.modelview.depth - 1];
  origin = EyeOf(modelview);
  const Matrix clip = Multiply(c.projection.matrices[c.projection.depth - 1],
                               Multiply(modelview, Translation(origin[0], origin[1], origin[2])));
  Shading s;
  std::copy(clip.begin(), clip.end(), s.clip);
  return s;
}

Rgba ShadeVertex(const Context& c, const Vec4& object, Vec4& clip) {
  const Matrix& modelview = c.modelview.matrices[c.modelview.depth - 1];
  const Vec4 eye = Transform(modelview, object);
  clip = Transform(c.projection.matrices[c.projection.depth - 1], eye);
  if (c.state.enables.lighting) return LitColor(c.state, eye, Transform(NormalMatrixOf(modelview), c.state.normal));
  Rgba color = c.state.color;
  for (double& v : color) v = std::clamp(v, 0.0, 1.0);
  return color;
}

}  // namespace vellumor::webgl

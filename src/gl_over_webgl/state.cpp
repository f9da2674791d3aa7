#include "gl_over_webgl/state.h"

#include <algorithm>

namespace vellumor::webgl {

bool* EnableFlag(Enables& enables, GLenum cap) {
  switch (cap) {
    case GL_DEPTH_TEST:
      return &enables.depthTest;
    case GL_LIGHTING:
      return &enables.lighting;
    case GL_BLEND:
      return &enables.blend;
    default:
      if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kLightCount) return &enables.lights[cap - GL_LIGHT0];
      return nullptr;
  }
}

void RestoreGroups(State& state, const State& saved, GLbitfield mask) {
  if (mask & GL_ENABLE_BIT) state.enables = saved.enables;
  if (mask & GL_CURRENT_BIT) {
    state.color = saved.color;
    state.normal = saved.normal;
    state.raster = saved.raster;
  }
  if (mask & GL_POLYGON_BIT) {
    state.polygonFront = saved.polygonFront;
    state.polygonBack = saved.polygonBack;
  }
  if (mask & GL_LIGHTING_BIT) {
    state.shadeModel = saved.shadeModel;
    std::copy(std::begin(saved.lights), std::end(saved.lights), std::begin(state.lights));
    state.enables.lighting = saved.enables.lighting;
    std::copy(std::begin(saved.enables.lights), std::end(saved.enables.lights), std::begin(state.enables.lights));
  }
  if (mask & GL_COLOR_BUFFER_BIT) {
    state.blendSrc = saved.blendSrc;
    state.blendDst = saved.blendDst;
    state.clearColor = saved.clearColor;
    state.enables.blend = saved.enables.blend;
  }
  if (mask & GL_DEPTH_BUFFER_BIT) {
    state.depthMask = saved.depthMask;
    state.clearDepth = saved.clearDepth;
    state.enables.depthTest = saved.enables.depthTest;
  }
  if (mask & GL_POINT_BIT) state.pointSize = saved.pointSize;
  if (mask & GL_VIEWPORT_BIT) std::copy(std::begin(saved.viewport), std::end(saved.viewport), state.viewport);
  if (mask & GL_TRANSFORM_BIT) state.matrixMode = saved.matrixMode;
  if (mask & GL_LIST_BIT) state.listBase = saved.listBase;
}

}  // namespace vellumor::webgl

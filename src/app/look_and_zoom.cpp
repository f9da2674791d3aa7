#include "app/look_and_zoom.h"

#include "app/globals.h"

namespace vellumor {

void LookBy(std::int32_t dx, std::int32_t dy) {
  terrainScene.lookYaw += dx * kLookStep;
  terrainScene.lookPitch += dy * kLookStep;
}

void OrthoZoomOut() { terrainScene.orthoCamera.radius *= kZoomFactor; }
void OrthoZoomIn() { terrainScene.orthoCamera.radius /= kZoomFactor; }

}  // namespace vellumor

#pragma once
// The mouse's effects on the scene: looking around and zooming the
// orthographic camera.

#include <cstdint>

namespace vellumor {

inline constexpr double kLookStep = 0.003490658503988659;  // 0.2 degrees per pixel, in radians
inline constexpr double kZoomFactor = 1.2;

// dx, dy: the pointer's offset in pixels from the look centre.
void LookBy(std::int32_t dx, std::int32_t dy);
void OrthoZoomOut();  // one wheel notch away from the user
void OrthoZoomIn();   // one wheel notch towards the user

}  // namespace vellumor

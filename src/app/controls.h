#pragma once
// Single key presses, mouse look and the wheel zoom.

#include <cstdint>

#include "platform/virtual_keys.h"

inline constexpr double kLookStep = 0.003490658503988659;  // 0.2 degrees per pixel, in radians
inline constexpr double kZoomFactor = 1.2;

// Offers the key to the held-key actions first, then to the fixed key table.
void HandleKeyDown(std::int32_t key);
void HandleKeyUp(std::int32_t key);
void LookBy(std::int32_t dx, std::int32_t dy);
void OrthoZoomOut();
void OrthoZoomIn();

#pragma once
// Single key presses, mouse look and the wheel zoom.

#include <cstdint>

// Windows virtual-key codes the program knows.
namespace vk {
inline constexpr std::int32_t Space = 32, Escape = 27;
inline constexpr std::int32_t Digit0 = 48, Digit1 = 49, Digit2 = 50, Digit9 = 57;
inline constexpr std::int32_t A = 65, B = 66, D = 68, F = 70, G = 71, R = 82, S = 83, T = 84, U = 85,
                              V = 86, W = 87, Y = 89;
inline constexpr std::int32_t F1 = 112, F2 = 113, F3 = 114, F4 = 115;
}  // namespace vk

inline constexpr double kLookStep = 0.003490658503988659;  // 0.2 degrees per pixel, radians
inline constexpr double kZoomFactor = 1.2;

void HandleKeyDown(std::int32_t key);
void HandleKeyUp(std::int32_t key);
void LookBy(std::int32_t dx, std::int32_t dy);
void OrthoZoomOut();
void OrthoZoomIn();

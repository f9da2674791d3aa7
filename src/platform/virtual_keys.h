#pragma once
// The Windows virtual-key codes the viewer knows; the platform layer
// translates the host's keys into these.

#include <cstdint>

namespace vellumor::vk {
inline constexpr std::int32_t Escape = 27;
inline constexpr std::int32_t Space = 32;
inline constexpr std::int32_t Digit0 = 48;  // main keyboard digits are 48..57
inline constexpr std::int32_t Digit1 = 49;
inline constexpr std::int32_t Digit2 = 50;
inline constexpr std::int32_t Digit9 = 57;
inline constexpr std::int32_t A = 65;  // letters are 65..90 whatever Shift and Caps Lock say
inline constexpr std::int32_t B = 66;
inline constexpr std::int32_t D = 68;
inline constexpr std::int32_t F = 70;
inline constexpr std::int32_t G = 71;
inline constexpr std::int32_t R = 82;
inline constexpr std::int32_t S = 83;
inline constexpr std::int32_t T = 84;
inline constexpr std::int32_t U = 85;
inline constexpr std::int32_t V = 86;
inline constexpr std::int32_t W = 87;
inline constexpr std::int32_t Y = 89;
inline constexpr std::int32_t F1 = 112;  // F1..F12 are 112..123
inline constexpr std::int32_t F2 = 113;
inline constexpr std::int32_t F3 = 114;
inline constexpr std::int32_t F4 = 115;
}  // namespace vellumor::vk

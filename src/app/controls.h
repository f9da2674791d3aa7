#pragma once
// Single key presses: the held-key actions first, then the fixed key table
// (Escape, the parameter steps, F1 to F4).

#include <cstdint>

namespace vellumor {

void HandleKeyDown(std::int32_t key);  // a Windows virtual-key code, not an auto-repeat
void HandleKeyUp(std::int32_t key);

}  // namespace vellumor

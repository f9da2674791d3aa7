#pragma once
// Single key presses: the held-key actions first, then the fixed key table
// (Escape, the parameter steps, F1 to F4).

#include <cstdint>

namespace vellumor {

// A Windows virtual-key code, not an auto-repeat; true when the key did something.
bool HandleKeyDown(std::int32_t key);
void HandleKeyUp(std::int32_t key);

}  // namespace vellumor

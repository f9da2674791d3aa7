#pragma once
// SDL key events as Windows virtual-key codes.

#include <SDL.h>

#include <cstdint>

namespace vellumor::platform::sdl {

// The virtual-key code of a key, or 0 for a key with none. Letters are 'A' to
// 'Z' (65-90) whatever Shift or Caps Lock say; the main keyboard's digits are
// '0' to '9' (48-57); the keypad's digits are VK_NUMPAD0 to VK_NUMPAD9 (96-105).
std::int32_t VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode);

}  // namespace vellumor::platform::sdl

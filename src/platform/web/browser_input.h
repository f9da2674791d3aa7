#pragma once
// The browser's keys and wheel in the contract's terms. Kept free of
// Emscripten so that it builds and is tested natively too.

#include <cstdint>
#include <string_view>

namespace vellumor::platform::web {

// The Windows virtual-key code of a key event: `code` names the key's place
// on the keyboard ("KeyA", "Digit1", "Numpad1", "F1"), keyCode is the
// browser's legacy code, which follows the layout and is already a
// virtual-key code for most keys. 0 for a key without one.
std::int32_t VirtualKeyFromBrowser(std::string_view code, std::uint32_t keyCode);

// The wheel in 120ths of a notch, positive turned away from the user. The
// browser measures it in pixels, lines or pages, positive towards the user;
// a notch scrolls 100 pixels in Chromium and 3 lines in Firefox.
enum class WheelMode : std::uint32_t { Pixels = 0, Lines = 1, Pages = 2 };
double WheelUnits(double deltaY, WheelMode mode);

}  // namespace vellumor::platform::web

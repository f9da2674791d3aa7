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

// The keys the viewer acts on: the browser must not act on them too (F1's
// help page, Space's scrolling, the digits' shortcuts).
bool IsViewerKey(std::int32_t virtualKey);

// Combinations that belong to the browser and the desktop around it: with
// Alt (but not Ctrl+Alt, which types characters on many layouts), as
// Windows keeps them from the window, and with Meta, the Mac's Command key.
bool IsBrowserShortcut(bool alt, bool ctrl, bool meta);

// The wheel in 120ths of a notch, positive turned away from the user. The
// browser measures it in pixels, lines or pages, positive towards the user;
// a notch scrolls 100 pixels in Chromium and 3 lines in Firefox. Fractions
// (touchpads, smooth scrolling) are kept until they make a whole unit.
class WheelGatherer {
 public:
  enum class Mode : std::uint32_t { Pixels = 0, Lines = 1, Pages = 2 };
  std::int32_t Take(double deltaY, Mode mode);

 private:
  double residue_ = 0.0;
};

}  // namespace vellumor::platform::web

#include "platform/web/browser_input.h"


#include "platform/virtual_keys.h"

namespace vellumor::platform::web {

namespace {

constexpr std::int32_t kNumpad0 = 96;  // VK_NUMPAD0..VK_NUMPAD9
constexpr std::int32_t kF1To24 = 24;

bool IsLatinLetterCode(std::uint32_t keyCode) { return keyCode >= 'A' && keyCode <= 'Z'; }

// The digit or letter of a code such as "Digit7" or "KeyQ", or 0.
char Suffix(std::string_view code, std::string_view prefix) {
  if (code.size() != prefix.size() + 1 || code.substr(0, prefix.size()) != prefix) return 0;
  return code.back();
}

}  // namespace

std::int32_t VirtualKeyFromBrowser(std::string_view code, std::uint32_t keyCode) {
  // The main keyboard's digits by their place, whatever the layout types
  // there (on a French one, 1 is "&" unshifted), and the keypad's apart.
  if (char digit = Suffix(code, "Digit"); digit >= '0' && digit <= '9') return digit;
  if (char digit = Suffix(code, "Numpad"); digit >= '0' && digit <= '9') return kNumpad0 + (digit - '0');
  // Letters follow the layout (Z on a German keyboard is where Y is on an
  // English one); where the layout has no Latin letter, the place decides.
  if (char letter = Suffix(code, "Key"); letter >= 'A' && letter <= 'Z') {
    return IsLatinLetterCode(keyCode) ? static_cast<std::int32_t>(keyCode) : letter;
  }
  if (code.size() >= 2 && code.size() <= 3 && code[0] == 'F') {
    int n = 0;
    for (char c : code.substr(1)) n = (c >= '0' && c <= '9') ? n * 10 + (c - '0') : -1;
    if (n >= 1 && n <= kF1To24) return vk::F1 + (n - 1);
  }
  // Everything else: Escape, Space, Enter, the arrows, Shift... the legacy
  // code is Windows' own, as browsers took it from there.
  return keyCode < 256 ? static_cast<std::int32_t>(keyCode) : 0;
}

double WheelUnits(double deltaY, WheelMode mode) {
  double perNotch = 100.0;  // pixels
  if (mode == WheelMode::Lines) perNotch = 3.0;
  if (mode == WheelMode::Pages) perNotch = 1.0;
  return -deltaY * 120.0 / perNotch;
}

}  // namespace vellumor::platform::web

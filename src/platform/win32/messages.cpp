#include "platform/win32/messages.h"

#include <cstdint>

namespace vellumor::platform::win32 {

namespace {

// Mouse positions and the window's position are signed 16-bit words: a
// window left of or above the primary screen has negative coordinates.
std::int32_t SignedLow(LPARAM value) { return static_cast<std::int16_t>(value & 0xFFFF); }
std::int32_t SignedHigh(LPARAM value) { return static_cast<std::int16_t>((value >> 16) & 0xFFFF); }
std::int32_t UnsignedLow(LPARAM value) { return static_cast<std::int32_t>(value & 0xFFFF); }
std::int32_t UnsignedHigh(LPARAM value) { return static_cast<std::int32_t>((value >> 16) & 0xFFFF); }

constexpr LPARAM kPreviousKeyState = LPARAM{1} << 30;  // set on auto-repeats

}  // namespace

bool EventFromMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Event& event) {
  switch (message) {
    case WM_CREATE:
      event = {.kind = EventKind::Create};
      return true;
    case WM_DESTROY:
      event = {.kind = EventKind::Destroy};
      return true;
    case WM_MOVE:
      // Minimising moves the window to (-32000, -32000) before its size
      // becomes 0: a client area that is nowhere on screen has no position
      // to report, and look mode must not take the pointer there.
      if (IsIconic(window)) return false;
      event = {.kind = EventKind::Move, .x = SignedLow(lParam), .y = SignedHigh(lParam)};
      return true;
    case WM_SIZE:
      event = {.kind = EventKind::Size, .x = UnsignedLow(lParam), .y = UnsignedHigh(lParam)};
      return true;
    case WM_PAINT:
      event = {.kind = EventKind::Paint};
      return true;
    case WM_ACTIVATEAPP:
      event = {.kind = EventKind::Activate, .active = wParam == 1};
      return true;
    case WM_KEYDOWN:
      event = {.kind = EventKind::KeyDown,
               .key = static_cast<std::int32_t>(wParam),
               .repeat = (lParam & kPreviousKeyState) != 0};
      return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // A key let go while Alt is down comes as a system key-up; it still
      // ends what the key began. (System key-downs stay the system's.)
      event = {.kind = EventKind::KeyUp, .key = static_cast<std::int32_t>(wParam)};
      return true;
    case WM_MOUSEMOVE:
      event = {.kind = EventKind::MouseMove, .x = SignedLow(lParam), .y = SignedHigh(lParam)};
      return true;
    case WM_LBUTTONDOWN:
      event = {.kind = EventKind::LeftButtonDown, .x = SignedLow(lParam), .y = SignedHigh(lParam)};
      return true;
    case WM_LBUTTONUP:
      event = {.kind = EventKind::LeftButtonUp, .x = SignedLow(lParam), .y = SignedHigh(lParam)};
      return true;
    case WM_MOUSEWHEEL:
      event = {.kind = EventKind::Wheel, .wheelDelta = static_cast<std::int16_t>((wParam >> 16) & 0xFFFF)};
      return true;
    case WM_DPICHANGED:
      // The new DPI is in both words of wParam; the suggested rectangle is the layer's.
      event = {.kind = EventKind::DpiChanged, .x = static_cast<std::int32_t>(wParam & 0xFFFF)};
      return true;
    case WM_CAPTURECHANGED:
      // lParam is the window that takes the capture; taking it again is no loss.
      if (reinterpret_cast<HWND>(lParam) == window) return false;
      event = {.kind = EventKind::CaptureLost};
      return true;
    default:
      return false;
  }
}

}  // namespace vellumor::platform::win32

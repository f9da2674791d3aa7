#pragma once
// The shell's long-lived state, all in one place: one record per concern,
// each zero at start-up but the display's DPI, which starts at a scale of 1.
// Starting afresh is `shell = ShellState{}`.

#include <cstdint>

#include "platform/platform.h"

namespace vellumor {

// Where the window's client area is and how big, as the window procedure
// last heard: the frame draws into it, the pointer confines and centres on it.
struct ClientArea {
  std::int32_t clientX = 0;  // screen position of the top-left corner
  std::int32_t clientY = 0;
  std::int32_t clientWidth = 0;  // pixels; 0 while minimised
  std::int32_t clientHeight = 0;
};

struct FrameClock {
  std::uint32_t startTick = 0;       // tick count at start-up
  std::uint32_t fpsWindowStart = 0;  // ms since start-up when the counting window opened
  double lastElapsed = 0.0;          // seconds, previous frame
  std::int32_t frameCount = 0;       // frames in the open window
  std::int32_t shownFps = 0;         // frames in the last closed window
};

// The overlay's font and its text cursor. The overlay is drawn as much
// larger as the display's scale, the font lists made for it.
struct TextOverlay {
  std::uint32_t fontListBase = 0;  // first of the 256 glyph lists, character codes 0 to 255
  std::int32_t dpi = platform::kPlainDpi;  // the display's, as last heard
  std::int32_t hudColumn = 0;
  std::int32_t hudLine = 0;
};

enum class MouseMode : std::int32_t { None = 0, Look = 1, Drag = 2 };

struct PointerState {
  std::int32_t wheelAccumulator = 0;  // wheel units not yet turned into a zoom step
  MouseMode mouseMode = MouseMode::None;
  bool pointerCaptured = false;  // from taking the capture until hearing it was lost
  // Look mode wanted the pointer while the client area was empty (minimised):
  // it is taken once the area comes back.
  bool grabPending = false;
  platform::CursorShape savedCursor = platform::CursorShape::Arrow;
  platform::ScreenRect windowRect{};  // as read when look mode last grabbed the pointer
  std::int32_t lookCentreX = 0;       // screen point the cursor is put back to
  std::int32_t lookCentreY = 0;
  std::int32_t dragStartX = 0;  // client point where the drag began
  std::int32_t dragStartY = 0;
};

struct ShellState {
  ClientArea clientArea;
  FrameClock frameClock;
  TextOverlay textOverlay;
  PointerState pointer;
};

extern ShellState shell;

}  // namespace vellumor

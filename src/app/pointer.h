#pragma once
// The pointer state machine: free, dragging (a left-button drag pans the
// orthographic views) or looking (the pointer hidden, confined and put back
// at the window's centre after every move), and the wheel's zoom steps.

#include <cstdint>

#include "platform/platform.h"

namespace vellumor {

enum class MouseMode : std::int32_t { None = 0, Look = 1, Drag = 2 };

// One instance, zeroed at start-up.
struct PointerState {
  std::int32_t wheelAccumulator = 0;  // wheel units not yet turned into a zoom step
  MouseMode mouseMode = MouseMode::None;
  bool pointerCaptured = false;  // from taking the capture until hearing it was lost
  platform::CursorShape savedCursor = platform::CursorShape::Arrow;
  platform::ScreenRect windowRect{};  // as read when look mode last grabbed the pointer
  std::int32_t lookCentreX = 0;       // screen point the cursor is put back to
  std::int32_t lookCentreY = 0;
  std::int32_t dragStartX = 0;  // client point where the drag began
  std::int32_t dragStartY = 0;
};

extern PointerState pointer;

void GrabPointer();    // take the pointer for look mode
void FreePointer();    // unclip and show the saved cursor; keeps mode and capture
void LeaveLookMode();  // release the capture (if held), then leave look mode

// What the window procedure hands on; x, y are client coordinates.
void OnLeftButtonDown(std::int32_t x, std::int32_t y);
void OnLeftButtonUp();
void OnPointerMove(std::int32_t x, std::int32_t y);
void OnWheel(std::int32_t delta);
void OnCaptureLost();
void OnActivate(bool active);

}  // namespace vellumor

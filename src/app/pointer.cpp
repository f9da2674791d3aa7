#include "app/pointer.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "app/client_area.h"
#include "app/globals.h"
#include "app/look_and_zoom.h"

namespace vellumor {

PointerState pointer;

namespace {

// Pointer offsets are computed wide and saturated, so coordinates from any
// corner of a huge virtual screen cannot overflow.
std::int32_t Saturate(std::int64_t value) {
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

void BeginDrag(std::int32_t x, std::int32_t y) {
  const ClientArea& c = clientArea;
  const platform::ScreenRect area{c.clientX, c.clientY, Saturate(std::int64_t{c.clientX} + c.clientWidth),
                                  Saturate(std::int64_t{c.clientY} + c.clientHeight)};
  pointer.mouseMode = MouseMode::Drag;
  platform::ConfineCursor(area);
  platform::CaptureMouse();
  pointer.pointerCaptured = true;
  pointer.savedCursor = platform::SetCursorShape(platform::CursorShape::SizeAll);
  pointer.dragStartX = x;
  pointer.dragStartY = y;
  mainView.BeginPan();
}

}  // namespace

void GrabPointer() {
  pointer.windowRect = platform::GetWindowRect();
  platform::ConfineCursor(pointer.windowRect);
  const platform::ScreenRect& r = pointer.windowRect;
  pointer.lookCentreX = Saturate(r.left + (std::int64_t{r.right} - r.left) / 2);
  pointer.lookCentreY = Saturate(r.top + (std::int64_t{r.bottom} - r.top) / 2);
  platform::WarpCursor(pointer.lookCentreX, pointer.lookCentreY);
  // Grabbing again while the capture is held (a second activation, F1 during a
  // drag) finds a cursor the shell set itself; the one to restore is already saved.
  const platform::CursorShape previous = platform::SetCursorShape(platform::CursorShape::Hidden);
  if (!pointer.pointerCaptured) pointer.savedCursor = previous;
  platform::CaptureMouse();
  pointer.pointerCaptured = true;
}

void FreePointer() {
  platform::UnconfineCursor();
  platform::SetCursorShape(pointer.savedCursor);
}

void LeaveLookMode() {
  if (pointer.mouseMode != MouseMode::Look) return;
  // The release reports the lost capture at once, and that handler must still see look mode.
  if (pointer.pointerCaptured) platform::ReleaseMouse();
  pointer.mouseMode = MouseMode::None;
}

void OnLeftButtonDown(std::int32_t x, std::int32_t y) {
  if (pointer.mouseMode == MouseMode::None) BeginDrag(x, y);
}

// The rest of the drag's end happens when the lost capture is reported.
void OnLeftButtonUp() {
  if (pointer.pointerCaptured && pointer.mouseMode == MouseMode::Drag) platform::ReleaseMouse();
}

void OnPointerMove(std::int32_t x, std::int32_t y) {
  if (!pointer.pointerCaptured) return;
  if (pointer.mouseMode == MouseMode::Look) {
    // Screen coordinates: the offset from the centre is the motion since the
    // cursor was last put back; the move caused by putting it back is zero.
    const std::int32_t dx = Saturate(std::int64_t{x} + clientArea.clientX - pointer.lookCentreX);
    const std::int32_t dy = Saturate(std::int64_t{y} + clientArea.clientY - pointer.lookCentreY);
    if (dx != 0 || dy != 0) {
      LookBy(dx, dy);
      platform::WarpCursor(pointer.lookCentreX, pointer.lookCentreY);
    }
  } else if (pointer.mouseMode == MouseMode::Drag) {
    mainView.Pan(Saturate(std::int64_t{x} - pointer.dragStartX), Saturate(std::int64_t{y} - pointer.dragStartY));
  }
}

// One zoom step per 120 units gathered, however many were gathered; the rest is dropped.
void OnWheel(std::int32_t delta) {
  const std::int64_t sum = std::int64_t{pointer.wheelAccumulator} + delta;
  pointer.wheelAccumulator = Saturate(sum);
  if (std::llabs(sum) < 120) return;
  if (sum > 0) {
    OrthoZoomOut();
  } else {
    OrthoZoomIn();
  }
  pointer.wheelAccumulator = 0;
}

void OnCaptureLost() {
  if (!pointer.pointerCaptured) return;
  pointer.pointerCaptured = false;
  if (pointer.mouseMode == MouseMode::Look) {
    FreePointer();  // look mode stays on; the next activation or F1 grabs again
  } else if (pointer.mouseMode == MouseMode::Drag) {
    pointer.mouseMode = MouseMode::None;
    platform::UnconfineCursor();
    platform::SetCursorShape(pointer.savedCursor);
  }
}

// Look mode lets the pointer go while another application is active and takes it back on return.
void OnActivate(bool active) {
  if (pointer.mouseMode != MouseMode::Look) return;
  if (active) {
    GrabPointer();
  } else {
    FreePointer();
  }
}

}  // namespace vellumor

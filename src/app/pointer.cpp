#include "app/pointer.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace vellumor {

namespace {

// Pointer offsets are computed wide and saturated, so coordinates from any
// corner of a huge virtual screen cannot overflow.
std::int32_t Saturate(std::int64_t value) {
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

bool ClientAreaEmpty() { return shell.clientArea.clientWidth <= 0 || shell.clientArea.clientHeight <= 0; }

void BeginDrag(std::int32_t x, std::int32_t y) {
  const ClientArea& c = shell.clientArea;
  PointerState& p = shell.pointer;
  const platform::ScreenRect area{c.clientX, c.clientY, Saturate(std::int64_t{c.clientX} + c.clientWidth),
                                  Saturate(std::int64_t{c.clientY} + c.clientHeight)};
  p.mouseMode = MouseMode::Drag;
  platform::ConfineCursor(area);
  platform::CaptureMouse();
  p.pointerCaptured = true;
  p.savedCursor = platform::SetCursorShape(platform::CursorShape::SizeAll);
  p.dragStartX = x;
  p.dragStartY = y;
}

}  // namespace

void GrabPointer() {
  PointerState& p = shell.pointer;
  // A minimised window's rectangle lies far off screen, where the pointer can
  // never be: hold nothing until the client area is back, then grab.
  if (ClientAreaEmpty()) {
    if (p.pointerCaptured) platform::ReleaseMouse();
    p.grabPending = true;
    return;
  }
  p.grabPending = false;
  p.windowRect = platform::GetWindowRect();
  platform::ConfineCursor(p.windowRect);
  const platform::ScreenRect& r = p.windowRect;
  p.lookCentreX = Saturate(r.left + (std::int64_t{r.right} - r.left) / 2);
  p.lookCentreY = Saturate(r.top + (std::int64_t{r.bottom} - r.top) / 2);
  platform::WarpCursor(p.lookCentreX, p.lookCentreY);
  // Grabbing again while the capture is held (a move of the window, F1 during
  // a drag) finds a cursor the shell set itself; the one to restore is already saved.
  const platform::CursorShape previous = platform::SetCursorShape(platform::CursorShape::Hidden);
  if (!p.pointerCaptured) p.savedCursor = previous;
  platform::CaptureMouse();
  p.pointerCaptured = true;
}

void FreePointer() {
  shell.pointer.grabPending = false;
  platform::UnconfineCursor();
  platform::SetCursorShape(shell.pointer.savedCursor);
}

void EnterLookMode() {
  PointerState& p = shell.pointer;
  // Look mode that lost its capture (another window took it) comes back with F1.
  if (p.mouseMode == MouseMode::Look && p.pointerCaptured) return;
  p.mouseMode = MouseMode::Look;
  GrabPointer();
}

void LeaveLookMode() {
  PointerState& p = shell.pointer;
  if (p.mouseMode != MouseMode::Look) return;
  // The release reports the lost capture at once, and that handler must still see look mode.
  if (p.pointerCaptured) platform::ReleaseMouse();
  p.grabPending = false;
  p.mouseMode = MouseMode::None;
}

bool OnLeftButtonDown(std::int32_t x, std::int32_t y) {
  if (shell.pointer.mouseMode != MouseMode::None) return false;
  BeginDrag(x, y);
  return true;
}

// The rest of the drag's end happens when the lost capture is reported.
void OnLeftButtonUp() {
  if (shell.pointer.pointerCaptured && shell.pointer.mouseMode == MouseMode::Drag) platform::ReleaseMouse();
}

PointerMotion OnPointerMove(std::int32_t x, std::int32_t y) {
  const PointerState& p = shell.pointer;
  if (!p.pointerCaptured) return {};
  if (p.mouseMode == MouseMode::Drag) {
    return {PointerMotion::Kind::Pan, Saturate(std::int64_t{x} - p.dragStartX),
            Saturate(std::int64_t{y} - p.dragStartY)};
  }
  if (p.mouseMode != MouseMode::Look) return {};
  // Screen coordinates: the offset from the centre is the motion since the
  // cursor was last put back; the move caused by putting it back is zero.
  const std::int32_t dx = Saturate(std::int64_t{x} + shell.clientArea.clientX - p.lookCentreX);
  const std::int32_t dy = Saturate(std::int64_t{y} + shell.clientArea.clientY - p.lookCentreY);
  if (dx == 0 && dy == 0) return {};
  platform::WarpCursor(p.lookCentreX, p.lookCentreY);
  return {PointerMotion::Kind::Look, dx, dy};
}

// One zoom step per 120 units gathered, however many were gathered; the rest is dropped.
int OnWheel(std::int32_t delta) {
  PointerState& p = shell.pointer;
  const std::int64_t sum = std::int64_t{p.wheelAccumulator} + delta;
  p.wheelAccumulator = Saturate(sum);
  if (std::llabs(sum) < 120) return 0;
  p.wheelAccumulator = 0;
  return sum > 0 ? 1 : -1;
}

void OnCaptureLost() {
  PointerState& p = shell.pointer;
  if (!p.pointerCaptured) return;
  p.pointerCaptured = false;
  if (p.mouseMode == MouseMode::None) return;
  // A drag ends; look mode stays on, and the next activation or F1 grabs again.
  if (p.mouseMode == MouseMode::Drag) p.mouseMode = MouseMode::None;
  FreePointer();
}

// Switching away lets the pointer go, and the shell gives up the capture
// itself rather than trust the system to take it; look mode takes it back on return.
void OnActivate(bool active) {
  const PointerState& p = shell.pointer;
  if (active) {
    if (p.mouseMode == MouseMode::Look) GrabPointer();
  } else if (p.pointerCaptured) {
    platform::ReleaseMouse();  // the lost capture ends a drag and frees look mode's pointer
  } else if (p.mouseMode == MouseMode::Look) {
    FreePointer();
  }
}

void OnClientAreaChanged() {
  const PointerState& p = shell.pointer;
  if (p.mouseMode == MouseMode::Look && (p.pointerCaptured || p.grabPending)) GrabPointer();
}

}  // namespace vellumor

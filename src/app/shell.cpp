#include "app/shell.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "actions/held_key_actions.h"
#include "app/controls.h"
#include "app/frame.h"
#include "app/globals.h"

ShellState shell;

namespace {

using platform::Event;
using platform::EventKind;

// Pointer offsets are computed wide and saturated, so coordinates from any
// corner of a huge virtual screen cannot overflow.
std::int32_t Saturate(std::int64_t value) {
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

bool OnCreate() {
  if (!CreateGlContext()) return false;
  BindHeldKeyActions();
  StartFrameClock();
  return true;
}

void BeginDrag(std::int32_t x, std::int32_t y) {
  const platform::ScreenRect clientArea{shell.clientX, shell.clientY, Saturate(std::int64_t{shell.clientX} + shell.clientWidth),
                                        Saturate(std::int64_t{shell.clientY} + shell.clientHeight)};
  shell.mouseMode = MouseMode::Drag;
  platform::ConfineCursor(clientArea);
  platform::CaptureMouse();
  shell.pointerCaptured = true;
  shell.savedCursor = platform::SetCursorShape(platform::CursorShape::SizeAll);
  shell.dragStartX = x;
  shell.dragStartY = y;
  mainView.BeginPan();
}

// One zoom step per 120 units gathered, however many were gathered; the rest is dropped.
void WheelStep(std::int32_t delta) {
  const std::int64_t sum = std::int64_t{shell.wheelAccumulator} + delta;
  shell.wheelAccumulator = Saturate(sum);
  if (std::llabs(sum) < 120) return;
  if (sum > 0) {
    OrthoZoomOut();
  } else {
    OrthoZoomIn();
  }
  shell.wheelAccumulator = 0;
}

void OnMouseMove(std::int32_t x, std::int32_t y) {
  if (!shell.pointerCaptured) return;
  if (shell.mouseMode == MouseMode::Look) {
    // Screen coordinates: the offset from the centre is the motion since the
    // cursor was last put back; the move caused by putting it back is zero.
    const std::int32_t dx = Saturate(std::int64_t{x} + shell.clientX - shell.lookCentreX);
    const std::int32_t dy = Saturate(std::int64_t{y} + shell.clientY - shell.lookCentreY);
    if (dx != 0 || dy != 0) {
      LookBy(dx, dy);
      platform::WarpCursor(shell.lookCentreX, shell.lookCentreY);
    }
  } else if (shell.mouseMode == MouseMode::Drag) {
    mainView.Pan(Saturate(std::int64_t{x} - shell.dragStartX), Saturate(std::int64_t{y} - shell.dragStartY));
  }
}

void OnCaptureLost() {
  if (!shell.pointerCaptured) return;
  shell.pointerCaptured = false;
  if (shell.mouseMode == MouseMode::Look) {
    FreePointer();  // look mode stays on; the next activation or F1 grabs again
  } else if (shell.mouseMode == MouseMode::Drag) {
    shell.mouseMode = MouseMode::None;
    platform::FreeCursor();
    platform::SetCursorShape(shell.savedCursor);
  }
}

}  // namespace

bool CreateGlContext() {
  if (!platform::CreateGlContext()) return false;
  shell.fontListBase = platform::CreateFontLists();
  if (shell.fontListBase == 0) return false;
  InitView();
  return true;
}

void GrabPointer() {
  shell.windowRect = platform::GetWindowRect();
  platform::ConfineCursor(shell.windowRect);
  const platform::ScreenRect& r = shell.windowRect;
  shell.lookCentreX = Saturate(r.left + (std::int64_t{r.right} - r.left) / 2);
  shell.lookCentreY = Saturate(r.top + (std::int64_t{r.bottom} - r.top) / 2);
  platform::WarpCursor(shell.lookCentreX, shell.lookCentreY);
  // Grabbing again while the capture is held (a second activation, F1 during a
  // drag) finds a cursor the shell set itself; the one to restore is already saved.
  const platform::CursorShape previous = platform::SetCursorShape(platform::CursorShape::Hidden);
  if (!shell.pointerCaptured) shell.savedCursor = previous;
  platform::CaptureMouse();
  shell.pointerCaptured = true;
}

void FreePointer() {
  platform::FreeCursor();
  platform::SetCursorShape(shell.savedCursor);
}

void LeaveLookMode() {
  if (shell.mouseMode != MouseMode::Look) return;
  // The release reports the lost capture at once, and that handler must still see look mode.
  if (shell.pointerCaptured) platform::ReleaseMouse();
  shell.mouseMode = MouseMode::None;
}

bool WindowProc(const platform::Event& event) {
  switch (event.kind) {
    case EventKind::Create:
      return OnCreate();
    case EventKind::Destroy:
      platform::Quit(0);
      break;
    case EventKind::Move:
      shell.clientX = event.x;
      shell.clientY = event.y;
      break;
    case EventKind::Size:
      shell.clientWidth = std::max(event.x, 0);
      shell.clientHeight = std::max(event.y, 0);
      break;
    case EventKind::Paint:
      RenderFrame();
      platform::SwapBuffers();
      break;
    case EventKind::Activate:
      if (shell.mouseMode == MouseMode::Look) {
        if (event.active) {
          GrabPointer();
        } else {
          FreePointer();
        }
      }
      break;
    case EventKind::KeyDown:
      if (!event.repeat) HandleKeyDown(event.key);
      break;
    case EventKind::KeyUp:
      HandleKeyUp(event.key);
      break;
    case EventKind::MouseMove:
      OnMouseMove(event.x, event.y);
      break;
    case EventKind::LeftButtonDown:
      if (shell.mouseMode == MouseMode::None) BeginDrag(event.x, event.y);
      break;
    case EventKind::LeftButtonUp:
      if (shell.pointerCaptured && shell.mouseMode == MouseMode::Drag) platform::ReleaseMouse();
      break;
    case EventKind::Wheel:
      WheelStep(event.wheelDelta);
      break;
    case EventKind::CaptureLost:
      OnCaptureLost();
      break;
  }
  return true;
}

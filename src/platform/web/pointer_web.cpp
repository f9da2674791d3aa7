// The pointer services. A page can neither confine nor move the pointer:
// look mode runs on relative motion under pointer lock, as on Wayland, and a
// drag keeps its moves and its release coming from wherever the pointer goes
// (the layer hears the whole page, and browsers keep sending a drag that
// leaves the window to the page it began in).

#include "platform/web/layer.h"
#include "platform/web/page.h"

namespace vellumor::platform {

namespace web {

void DropCapture() {
  if (!layer.captured) return;
  layer.captured = false;
  Deliver({.kind = EventKind::CaptureLost});
}

void EndRelativeMotion() {
  if (!layer.relativeActive) return;
  layer.relativeActive = false;
  if (layer.locked || PointerLockedTo(layer.canvas.c_str())) {
    layer.unlockRequested = true;
    ExitPointerLock();
  }
}

// The lock ends without the layer asking when the browser takes it back
// (Escape, another window): the window has lost the capture, and the shell
// frees the pointer, staying in look mode. The state is read from the page,
// not from the event: events can trail the calls that caused them.
void OnPointerLockChange() {
  const bool wasLocked = layer.locked;
  layer.locked = PointerLockedTo(layer.canvas.c_str());
  if (layer.locked) {
    // Granted after the shell let the pointer go again.
    if (!layer.relativeActive) {
      layer.unlockRequested = true;
      ExitPointerLock();
    }
    return;
  }
  const bool asked = layer.unlockRequested;
  layer.unlockRequested = false;
  if (asked) {
    // Look mode came back while its lock was on its way out.
    if (layer.relativeActive) RequestPointerLock(layer.canvas.c_str());
    return;
  }
  if (wasLocked) DropCapture();
}

}  // namespace web

using web::layer;

// The cursor cannot be kept inside a rectangle; in look mode pointer lock
// keeps it in the canvas.
void ConfineCursor(const ScreenRect&) {}

void UnconfineCursor() { web::EndRelativeMotion(); }

// The virtual cursor goes to the point, and relative motion moves it on from
// there; the first warp asks for the lock (inside the key's event, which lets
// the page have it).
void WarpCursor(std::int32_t x, std::int32_t y) {
  if (!layer.open) return;
  if (!layer.relativeActive) {
    layer.relativeActive = true;
    // A lock still held is one the layer is letting go: it is asked for
    // again once it has gone.
    if (!layer.locked) web::RequestPointerLock(layer.canvas.c_str());
  }
  layer.virtualX = x;
  layer.virtualY = y;
}

CursorShape SetCursorShape(CursorShape shape) {
  const CursorShape previous = layer.cursorShape;
  layer.cursorShape = shape;
  const char* css = "default";
  if (shape == CursorShape::Hidden) css = "none";
  if (shape == CursorShape::SizeAll) css = "move";  // the four-headed arrow
  web::SetCanvasCursor(layer.canvas.c_str(), css, shape == CursorShape::SizeAll);
  return previous;
}

void CaptureMouse() { layer.captured = true; }

void ReleaseMouse() { web::DropCapture(); }

}  // namespace vellumor::platform

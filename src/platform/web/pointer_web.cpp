// The pointer services. A page can neither confine nor move the pointer:
// look mode runs on relative motion under pointer lock, as on Wayland, and a
// drag keeps its moves and its release coming from wherever the pointer goes
// (the layer hears the whole page, and browsers keep sending a drag that
// leaves the window to the page it began in).

#include "platform/web/layer.h"
#include "platform/web/page.h"

namespace vellumor::platform {

namespace web {

namespace {

// Look mode's pointer: the lock is asked for inside the key's or click's
// event, which lets the page have it. A lock still held is one the layer is
// letting go: it is asked for again once it has gone.
void RelativeMotion(bool on) {
  if (on) {
    if (!layer.locked && !layer.byTouch) RequestPointerLock(layer.canvas.c_str());
    return;
  }
  if (layer.locked || PointerLockedTo(layer.canvas.c_str())) {
    layer.unlockRequested = true;
    ExitPointerLock();
  }
}

}  // namespace

// A page cannot move the pointer, and has no capture of its own: it hears
// the whole page, and browsers keep sending a drag that leaves the window to
// the page it began in.
HostServices PointerServices() { return {.canWarp = false, .relativeMotion = RelativeMotion}; }

// The lock ends without the layer asking when the browser takes it back
// (Escape, another window): the window has lost the capture, and the shell
// frees the pointer, staying in look mode. The state is read from the page,
// not from the event: events can trail the calls that caused them.
void OnPointerLockChange() {
  const bool wasLocked = layer.locked;
  layer.locked = PointerLockedTo(layer.canvas.c_str());
  if (layer.locked) {
    // Granted after the shell let the pointer go again.
    if (!emulation.RelativeActive()) {
      layer.unlockRequested = true;
      ExitPointerLock();
    }
    return;
  }
  const bool asked = layer.unlockRequested;
  layer.unlockRequested = false;
  if (asked) {
    // Look mode came back while its lock was on its way out.
    if (emulation.RelativeActive()) RequestPointerLock(layer.canvas.c_str());
    return;
  }
  if (wasLocked) emulation.DropCapture();
}

}  // namespace web

using web::layer;

// The cursor cannot be kept inside a rectangle; in look mode pointer lock
// keeps it in the canvas.
void ConfineCursor(const ScreenRect&) {}

void UnconfineCursor() { emulation.EndRelativeMotion(); }

void WarpCursor(std::int32_t x, std::int32_t y) {
  if (layer.open) emulation.WarpCursor(x, y);
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

void CaptureMouse() { emulation.CaptureMouse(); }

void ReleaseMouse() { emulation.DropCapture(); }

}  // namespace vellumor::platform

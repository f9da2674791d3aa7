// The browser's events as the window procedure expects them: the events of a
// Windows window, in client coordinates of drawable pixels.

#include <emscripten/html5.h>

#include <cmath>

#include "platform/virtual_keys.h"
#include "platform/web/layer.h"
#include "platform/web/page.h"

namespace vellumor::platform::web {

namespace {

constexpr unsigned short kLeftButton = 0;

// Events still on their way after the window went or the loop ended are dropped.
bool Live() { return layer.open && !layer.quitRequested; }

struct ClientPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool inside = false;  // over the canvas
};

ClientPoint ToClient(const EmscriptenMouseEvent& mouse) {
  const CanvasBox box = ReadCanvasBox(layer.canvas.c_str());
  const double x = mouse.clientX - box.left;
  const double y = mouse.clientY - box.top;
  return ClientPoint{static_cast<std::int32_t>(std::floor(x * layer.pixelScale)),
                     static_cast<std::int32_t>(std::floor(y * layer.pixelScale)),
                     x >= 0.0 && y >= 0.0 && x < box.width && y < box.height};
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void*) {
  if (!Live()) return EM_FALSE;
  const std::int32_t code = VirtualKeyFromBrowser(key->code, static_cast<std::uint32_t>(key->keyCode));
  if (code <= 0 || code >= static_cast<std::int32_t>(layer.keysDown.size())) return EM_FALSE;
  const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  const bool wasDown = layer.keysDown[code];
  layer.keysDown[code] = down;
  if (IsBrowserShortcut(key->altKey, key->ctrlKey, key->metaKey)) return EM_FALSE;

  // Escape ends pointer lock in browsers, which keep that key press to
  // themselves. Where one hands it on, or under automation, the layer does
  // the same, so in look mode the first Escape frees the pointer everywhere
  // and the second ends the viewer.
  if (code == vk::Escape && down && layer.relativeActive && PointerLockedTo(layer.canvas.c_str())) {
    layer.unlockRequested = true;
    ExitPointerLock();
    DropCapture();
    return EM_TRUE;
  }
  Deliver({.kind = down ? EventKind::KeyDown : EventKind::KeyUp,
           .key = code,
           .repeat = down && (key->repeat != 0 || wasDown)});
  return IsViewerKey(code) ? EM_TRUE : EM_FALSE;
}

// In relative motion every move turns the virtual cursor, wherever the
// pointer is; otherwise moves count over the canvas, and anywhere while the
// shell holds the capture, as on Windows.
EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* mouse, void*) {
  if (!Live()) return EM_FALSE;
  if (layer.relativeActive) {
    if (mouse->movementX == 0 && mouse->movementY == 0) return EM_FALSE;
    layer.virtualX += mouse->movementX * layer.pixelScale;
    layer.virtualY += mouse->movementY * layer.pixelScale;
    Deliver({.kind = EventKind::MouseMove,
             .x = static_cast<std::int32_t>(std::lround(layer.virtualX)),
             .y = static_cast<std::int32_t>(std::lround(layer.virtualY))});
    return EM_FALSE;
  }
  const ClientPoint point = ToClient(*mouse);
  if (point.inside || layer.captured) Deliver({.kind = EventKind::MouseMove, .x = point.x, .y = point.y});
  return EM_FALSE;
}

EM_BOOL OnMouseButton(int type, const EmscriptenMouseEvent* mouse, void*) {
  if (!Live() || mouse->button != kLeftButton) return EM_FALSE;
  const ClientPoint point = ToClient(*mouse);
  if (type == EMSCRIPTEN_EVENT_MOUSEDOWN) {
    if (!point.inside) return EM_FALSE;
    // Look mode whose lock was refused (no gesture came with the request)
    // asks again on a click, which is one.
    if (layer.relativeActive && !layer.locked) RequestPointerLock(layer.canvas.c_str());
    Deliver({.kind = EventKind::LeftButtonDown, .x = point.x, .y = point.y});
    return EM_FALSE;  // the canvas takes the focus as usual
  }
  if (point.inside || layer.captured) Deliver({.kind = EventKind::LeftButtonUp, .x = point.x, .y = point.y});
  return EM_FALSE;
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* wheel, void*) {
  if (!Live()) return EM_FALSE;
  const auto mode = static_cast<WheelGatherer::Mode>(wheel->deltaMode);
  const std::int32_t units = layer.wheel.Take(wheel->deltaY, mode);
  if (units != 0) Deliver({.kind = EventKind::Wheel, .wheelDelta = units});
  return EM_TRUE;  // the page does not scroll under the viewer
}

EM_BOOL OnFocusEvent(int type, const EmscriptenFocusEvent*, void*) {
  if (Live()) OnFocus(type == EMSCRIPTEN_EVENT_FOCUS);
  return EM_FALSE;
}

EM_BOOL OnLockChange(int, const EmscriptenPointerlockChangeEvent*, void*) {
  if (Live()) OnPointerLockChange();
  return EM_FALSE;
}

}  // namespace

// A blur is the window losing the focus: no key-ups come for the keys held,
// and the system takes the capture.
void OnFocus(bool active) {
  if (active == layer.focused) return;
  layer.focused = active;
  if (!active) layer.keysDown.reset();
  Deliver({.kind = EventKind::Activate, .active = active});
  if (!active) DropCapture();
}

void ListenForEvents() {
  const char* canvas = layer.canvas.c_str();
  emscripten_set_keydown_callback(canvas, nullptr, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(canvas, nullptr, EM_TRUE, OnKey);
  emscripten_set_mousedown_callback(canvas, nullptr, EM_TRUE, OnMouseButton);
  emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnMouseButton);
  emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnMouseMove);
  emscripten_set_wheel_callback(canvas, nullptr, EM_TRUE, OnWheel);
  emscripten_set_focus_callback(canvas, nullptr, EM_TRUE, OnFocusEvent);
  emscripten_set_blur_callback(canvas, nullptr, EM_TRUE, OnFocusEvent);
  emscripten_set_pointerlockchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, OnLockChange);
}

void StopListening() { emscripten_html5_remove_all_event_listeners(); }

}  // namespace vellumor::platform::web

// The browser's events translated into calls of the emulation, which
// delivers them to the window procedure as a Windows window's, in client
// coordinates of drawable pixels.

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

#include "platform/virtual_keys.h"
#include "platform/web/layer.h"
#include "platform/web/page.h"

namespace vellumor::platform::web {

namespace {

constexpr unsigned short kLeftButton = 0;

// Events still on their way after the window went or the loop ended are dropped.
bool Live() { return layer.open && !emulation.QuitRequested(); }

struct ClientPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

ClientPoint ToClient(const EmscriptenMouseEvent& mouse) {
  const CanvasBox box = ReadCanvasBox(layer.canvas.c_str());
  return ClientPoint{static_cast<std::int32_t>(std::floor((mouse.clientX - box.left) * layer.pixelScale)),
                     static_cast<std::int32_t>(std::floor((mouse.clientY - box.top) * layer.pixelScale))};
}

}  // namespace

// A key from the keyboard or from the page's own controls; true when the
// shell took it.
bool PageKey(std::int32_t code, bool down, KeyModifiers modifiers, bool repeat) {
  // Escape ends pointer lock in browsers, which keep that key press to
  // themselves. Where one hands it on, or under automation, the layer does
  // the same, so in look mode the first Escape frees the pointer everywhere
  // and the second ends the viewer.
  if (code == vk::Escape && down && emulation.RelativeActive() && PointerLockedTo(layer.canvas.c_str())) {
    layer.unlockRequested = true;
    ExitPointerLock();
    emulation.DropCapture();
    return true;
  }
  return emulation.Key(code, down, modifiers, repeat, TickCount());
}

namespace {

// True keeps the event from the browser: the keys the shell took.
EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void*) {
  if (!Live()) return EM_FALSE;
  const std::int32_t code = VirtualKeyFromBrowser(key->code, static_cast<std::uint32_t>(key->keyCode));
  const bool taken = PageKey(code, type == EMSCRIPTEN_EVENT_KEYDOWN,
                             {.alt = key->altKey != 0, .ctrl = key->ctrlKey != 0, .meta = key->metaKey != 0},
                             key->repeat != 0);
  return taken ? EM_TRUE : EM_FALSE;
}

// In relative motion every move turns the virtual cursor, wherever the
// pointer is; otherwise the emulation keeps the moves over the canvas, and
// all of them while the shell holds the capture.
EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* mouse, void*) {
  if (!Live()) return EM_FALSE;
  if (emulation.RelativeActive()) {
    emulation.RelativeMotion(mouse->movementX * layer.pixelScale, mouse->movementY * layer.pixelScale);
    return EM_FALSE;
  }
  const ClientPoint point = ToClient(*mouse);
  emulation.Motion(point.x, point.y);
  return EM_FALSE;
}

EM_BOOL OnMouseButton(int type, const EmscriptenMouseEvent* mouse, void*) {
  if (!Live() || mouse->button != kLeftButton) return EM_FALSE;
  const ClientPoint point = ToClient(*mouse);
  const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
  if (down) layer.byTouch = false;
  // Look mode whose lock was refused (no gesture came with the request)
  // asks again on a click, which is one.
  if (down && emulation.RelativeActive() && !layer.locked) RequestPointerLock(layer.canvas.c_str());
  emulation.Button(down, point.x, point.y);
  return EM_FALSE;  // the canvas takes the focus as usual
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* wheel, void*) {
  if (!Live()) return EM_FALSE;
  emulation.Wheel(WheelUnits(wheel->deltaY, static_cast<WheelMode>(wheel->deltaMode)));
  return EM_TRUE;  // the page does not scroll under the viewer
}

// Fingers on the canvas. The browser keeps none of their events: the page
// neither scrolls nor zooms under them, opens no menu on a long press and
// sends no mouse events for a tap. A touch takes the focus as a click does.
EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* touch, void*) {
  if (!Live()) return EM_TRUE;
  layer.byTouch = true;
  TouchPhase phase = TouchPhase::End;
  if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
    phase = TouchPhase::Start;
    FocusCanvas(layer.canvas.c_str());
  } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) {
    phase = TouchPhase::Move;
  }
  const CanvasBox box = ReadCanvasBox(layer.canvas.c_str());
  for (int i = 0; i < touch->numTouches; ++i) {
    const EmscriptenTouchPoint& point = touch->touches[i];
    if (!point.isChanged) continue;
    emulation.Touch(phase, point.identifier, (point.clientX - box.left) * layer.pixelScale,
                    (point.clientY - box.top) * layer.pixelScale);
  }
  return EM_TRUE;
}

// A blur is the window losing the focus.
EM_BOOL OnFocusEvent(int type, const EmscriptenFocusEvent*, void*) {
  if (Live()) emulation.Focus(type == EMSCRIPTEN_EVENT_FOCUS, TickCount());
  return EM_FALSE;
}

EM_BOOL OnLockChange(int, const EmscriptenPointerlockChangeEvent*, void*) {
  if (Live()) OnPointerLockChange();
  return EM_FALSE;
}

}  // namespace

void ListenForEvents() {
  const char* canvas = layer.canvas.c_str();
  emscripten_set_keydown_callback(canvas, nullptr, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(canvas, nullptr, EM_TRUE, OnKey);
  emscripten_set_mousedown_callback(canvas, nullptr, EM_TRUE, OnMouseButton);
  emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnMouseButton);
  emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnMouseMove);
  emscripten_set_wheel_callback(canvas, nullptr, EM_TRUE, OnWheel);
  emscripten_set_touchstart_callback(canvas, nullptr, EM_TRUE, OnTouch);
  emscripten_set_touchmove_callback(canvas, nullptr, EM_TRUE, OnTouch);
  emscripten_set_touchend_callback(canvas, nullptr, EM_TRUE, OnTouch);
  emscripten_set_touchcancel_callback(canvas, nullptr, EM_TRUE, OnTouch);
  emscripten_set_focus_callback(canvas, nullptr, EM_TRUE, OnFocusEvent);
  emscripten_set_blur_callback(canvas, nullptr, EM_TRUE, OnFocusEvent);
  emscripten_set_pointerlockchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, OnLockChange);
}

void StopListening() { emscripten_html5_remove_all_event_listeners(); }

}  // namespace vellumor::platform::web

// The page's on-screen controls press and let go keys by their virtual-key
// codes, pressed by a finger (byTouch) or the mouse.
extern "C" EMSCRIPTEN_KEEPALIVE void vellumor_control_key(int key, int down, int byTouch) {
  using namespace vellumor::platform;
  if (!web::layer.open || emulation.QuitRequested()) return;
  if (down != 0) web::layer.byTouch = byTouch != 0;
  web::PageKey(key, down != 0, {}, false);
}

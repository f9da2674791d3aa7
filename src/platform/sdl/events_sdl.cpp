// SDL's events as the window procedure expects them: the events of a
// Windows window, in client coordinates of drawable pixels.

#include <cmath>

#include "platform/sdl/key_codes.h"
#include "platform/sdl/layer.h"
#include "platform/virtual_keys.h"

namespace vellumor::platform {

namespace sdl {
namespace {

// SDL tells a window which keys are still down when it gets the focus back,
// as ordinary presses, a little after the focus event itself.
constexpr std::uint32_t kReconcileMs = 500;

constexpr std::int32_t kAltKey = 18;   // VK_MENU
constexpr std::int32_t kF10Key = 121;  // VK_F10

bool IsOurs(const SDL_WindowEvent& window) { return window.windowID == layer.windowId; }

// The events queued right behind the current one, up to a few.
int PeekQueue(SDL_Event* events, int count) {
  const int n = SDL_PeepEvents(events, count, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
  return n < 0 ? 0 : n;
}

// As the focus goes, SDL releases every key it thought down, right before
// telling of the loss. A Windows window hears nothing of them.
bool ReleasedByFocusLoss() {
  SDL_Event queued[64];
  const int n = PeekQueue(queued, 64);
  for (int i = 0; i < n; ++i) {
    if (queued[i].type == SDL_KEYUP) continue;
    return queued[i].type == SDL_WINDOWEVENT && queued[i].window.event == SDL_WINDOWEVENT_FOCUS_LOST &&
           IsOurs(queued[i].window);
  }
  return false;
}

// Windows sends Alt combinations (but not Ctrl+Alt ones, which type
// characters) and F10 as system keys, whose key-downs the window procedure
// leaves alone. Their key-ups it hears, as every key-up: W let go while Alt
// is down must still end what W began.
bool IsSystemKey(std::int32_t key, std::uint16_t modifiers) {
  const bool alt = (modifiers & KMOD_ALT) != 0;
  const bool ctrl = (modifiers & KMOD_CTRL) != 0;
  return key == kAltKey || key == kF10Key || (alt && !ctrl);
}

void OnFocus(bool active, std::uint32_t timestamp) {
  if (active) {
    layer.focused = true;
    layer.focusGainedAt = timestamp;
  } else {
    layer.focused = false;
    layer.heldAtFocusLoss = layer.keysDown;
    layer.keysDown.reset();
  }
  Deliver({.kind = EventKind::Activate, .active = active});
  // The system takes the capture from an application that loses the focus.
  if (!active) DropCapture();
}

void OnWindowEvent(const SDL_WindowEvent& window) {
  if (!IsOurs(window)) return;
  FitOuterGeometry();
  switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      DestroyWindow();
      break;
    case SDL_WINDOWEVENT_MOVED:
      SendMove(ToPixels(window.data1), ToPixels(window.data2));
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
      SendSize();
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
      OnFocus(window.event == SDL_WINDOWEVENT_FOCUS_GAINED, window.timestamp);
      break;
    default:
      break;
  }
}

void OnKey(const SDL_KeyboardEvent& key) {
  const std::int32_t code = VirtualKeyFromSdl(key.keysym.sym, key.keysym.scancode);
  if (code <= 0 || code >= static_cast<std::int32_t>(layer.keysDown.size())) return;
  const bool down = key.type == SDL_KEYDOWN;
  if (!down && ReleasedByFocusLoss()) return;

  // A key held while the focus went and came back is reported pressed again
  // on return; on Windows it goes on as an auto-repeat.
  const bool heldThrough = layer.heldAtFocusLoss[code] &&
                           (!layer.focused || key.timestamp - layer.focusGainedAt <= kReconcileMs);
  layer.heldAtFocusLoss[code] = false;
  const bool wasDown = layer.keysDown[code];
  layer.keysDown[code] = down;
  if (down && IsSystemKey(code, key.keysym.mod)) return;
  Deliver({.kind = down ? EventKind::KeyDown : EventKind::KeyUp,
           .key = code,
           .repeat = down && (key.repeat != 0 || wasDown || heldThrough)});
}

// 120 units per notch. Fractions of a notch (smooth scrolling) are summed
// until they make a whole unit, so slow scrolling is not lost.
void OnWheel(const SDL_MouseWheelEvent& wheel) {
  float notches = wheel.preciseY;
  if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
  if (!std::isfinite(notches)) return;
  const float units = SDL_clamp(layer.wheelResidue + notches * 120.0f, -1.0e6f, 1.0e6f);
  const float whole = std::trunc(units);
  layer.wheelResidue = units - whole;
  if (whole == 0.0f) return;
  Deliver({.kind = EventKind::Wheel, .wheelDelta = static_cast<std::int32_t>(whole)});
}

// Consecutive moves still queued merge into the last, as a Windows queue
// holds one mouse move with the latest position: in look mode every move is
// measured from the centre the pointer was last put back to.
void OnMotion(SDL_MouseMotionEvent motion) {
  SDL_Event next;
  while (PeekQueue(&next, 1) == 1 && next.type == SDL_MOUSEMOTION) {
    SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION);
    const int xrel = motion.xrel + next.motion.xrel;
    const int yrel = motion.yrel + next.motion.yrel;
    motion = next.motion;
    motion.xrel = xrel;
    motion.yrel = yrel;
  }
  if (layer.relativeActive) {
    layer.virtualX += ToPixels(motion.xrel);
    layer.virtualY += ToPixels(motion.yrel);
    Deliver({.kind = EventKind::MouseMove, .x = layer.virtualX - layer.sentX, .y = layer.virtualY - layer.sentY});
    return;
  }
  Deliver({.kind = EventKind::MouseMove, .x = ToPixels(motion.x), .y = ToPixels(motion.y)});
}

void OnButton(const SDL_MouseButtonEvent& button) {
  if (button.button != SDL_BUTTON_LEFT) return;
  Deliver({.kind = button.type == SDL_MOUSEBUTTONDOWN ? EventKind::LeftButtonDown : EventKind::LeftButtonUp,
           .x = ToPixels(button.x),
           .y = ToPixels(button.y)});
}

}  // namespace

std::int32_t ToPixels(int windowUnits) {
  return static_cast<std::int32_t>(std::lround(windowUnits * layer.pixelScale));
}

int ToWindowUnits(std::int32_t pixels) { return static_cast<int>(std::lround(pixels / layer.pixelScale)); }

void Dispatch(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:  // close request of the last window, SIGINT or SIGTERM
      DestroyWindow();
      break;
    case SDL_WINDOWEVENT:
      OnWindowEvent(event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      OnKey(event.key);
      break;
    case SDL_MOUSEMOTION:
      OnMotion(event.motion);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      OnButton(event.button);
      break;
    case SDL_MOUSEWHEEL:
      OnWheel(event.wheel);
      break;
    default:
      break;
  }
}

bool DispatchNext() {
  SDL_Event event;
  if (SDL_PollEvent(&event) == 0) return false;
  Dispatch(event);
  return true;
}

}  // namespace sdl

}  // namespace vellumor::platform

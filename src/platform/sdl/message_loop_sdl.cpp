// The message loop: SDL's events turned into the shell's, and Paint whenever
// nothing else is waiting.

#include <cmath>

#include "platform/sdl/key_codes.h"
#include "platform/sdl/layer.h"

namespace vellumor::platform {

namespace sdl {
namespace {

void OnWindowEvent(const SDL_WindowEvent& window) {
  if (layer.window == nullptr || window.windowID != SDL_GetWindowID(layer.window)) return;
  FitOuterGeometry();
  switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      DestroyWindow();
      break;
    case SDL_WINDOWEVENT_MOVED:
      SendMove(window.data1, window.data2);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
      SendSize();
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST: {
      const bool active = window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
      Deliver({.kind = EventKind::Activate, .active = active});
      // The system takes the capture from an application that loses the focus.
      if (!active) DropCapture();
      break;
    }
    default:
      break;
  }
}

void OnKey(const SDL_KeyboardEvent& key) {
  const std::int32_t code = VirtualKeyFromSdl(key.keysym.sym, key.keysym.scancode);
  if (code == 0) return;
  const bool down = key.type == SDL_KEYDOWN;
  Deliver({.kind = down ? EventKind::KeyDown : EventKind::KeyUp, .key = code, .repeat = down && key.repeat != 0});
}

// 120 units per notch. Fractions of a notch (smooth scrolling) are summed
// until they make a whole unit, so slow scrolling is not lost.
void OnWheel(const SDL_MouseWheelEvent& wheel) {
  float notches = wheel.preciseY;
  if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
  if (!std::isfinite(notches)) return;
  float units = SDL_clamp(layer.wheelResidue + notches * 120.0f, -1.0e6f, 1.0e6f);
  float whole = std::trunc(units);
  layer.wheelResidue = units - whole;
  if (whole == 0.0f) return;
  Deliver({.kind = EventKind::Wheel, .wheelDelta = static_cast<std::int32_t>(whole)});
}

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
      Deliver({.kind = EventKind::MouseMove, .x = event.motion.x, .y = event.motion.y});
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT) {
        Deliver({.kind = event.type == SDL_MOUSEBUTTONDOWN ? EventKind::LeftButtonDown : EventKind::LeftButtonUp,
                 .x = event.button.x,
                 .y = event.button.y});
      }
      break;
    case SDL_MOUSEWHEEL:
      OnWheel(event.wheel);
      break;
    default:
      break;
  }
}

// A minimised or hidden window has nothing to paint; it waits for events.
bool CanPaint() {
  return layer.window != nullptr &&
         (SDL_GetWindowFlags(layer.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

}  // namespace
}  // namespace sdl

using sdl::layer;

int RunMessageLoop() {
  SDL_Event event;
  while (!layer.quitRequested) {
    if (SDL_PollEvent(&event) != 0) {
      sdl::Dispatch(event);
    } else if (sdl::CanPaint()) {
      sdl::Deliver({.kind = EventKind::Paint});
    } else if (SDL_WaitEvent(&event) != 0) {
      sdl::Dispatch(event);
    }
  }
  layer.procedure = nullptr;
  sdl::TearDown();
  return layer.exitCode;
}

void Quit(int exitCode) {
  layer.quitRequested = true;
  layer.exitCode = exitCode;
}

std::uint32_t TickCount() { return static_cast<std::uint32_t>(SDL_GetTicks64()); }

}  // namespace vellumor::platform

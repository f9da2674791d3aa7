// SDL's events translated into calls of the emulation, which delivers them
// to the window procedure as a Windows window's, in client coordinates of
// drawable pixels.

#include <cmath>

#include "platform/sdl/key_codes.h"
#include "platform/sdl/layer.h"

namespace vellumor::platform {

namespace sdl {
namespace {

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

void OnWindowEvent(const SDL_WindowEvent& window) {
  if (!IsOurs(window)) return;
  FitOuterGeometry();
  switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      DestroyWindow();
      break;
    case SDL_WINDOWEVENT_MOVED:
      emulation.Move(ToPixels(window.data1), ToPixels(window.data2));
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
      SendSize();
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
      emulation.Focus(window.event == SDL_WINDOWEVENT_FOCUS_GAINED, window.timestamp);
      break;
    default:
      break;
  }
}

void OnKey(const SDL_KeyboardEvent& key) {
  const bool down = key.type == SDL_KEYDOWN;
  if (!down && ReleasedByFocusLoss()) return;
  const std::uint16_t mod = key.keysym.mod;
  emulation.Key(VirtualKeyFromSdl(key.keysym.sym, key.keysym.scancode), down,
                {.alt = (mod & KMOD_ALT) != 0, .ctrl = (mod & KMOD_CTRL) != 0, .meta = (mod & KMOD_GUI) != 0},
                key.repeat != 0, key.timestamp);
}

void OnWheel(const SDL_MouseWheelEvent& wheel) {
  const double notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.preciseY : wheel.preciseY;
  emulation.Wheel(notches * 120.0);
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
  if (emulation.RelativeActive()) {
    emulation.RelativeMotion(ToPixels(motion.xrel), ToPixels(motion.yrel));
  } else {
    emulation.Motion(ToPixels(motion.x), ToPixels(motion.y));
  }
}

void OnButton(const SDL_MouseButtonEvent& button) {
  if (button.button != SDL_BUTTON_LEFT) return;
  emulation.Button(button.type == SDL_MOUSEBUTTONDOWN, ToPixels(button.x), ToPixels(button.y));
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

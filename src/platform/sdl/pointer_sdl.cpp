// The pointer services: confinement, warping, cursor shapes and the capture.
// SDL confines and captures only while the window has the keyboard focus;
// the shell takes the pointer again when it is activated.

#include "platform/sdl/layer.h"

namespace vellumor::platform {

namespace sdl {

void DestroyCursors() {
  if (layer.arrowCursor != nullptr) SDL_FreeCursor(layer.arrowCursor);
  if (layer.sizeAllCursor != nullptr) SDL_FreeCursor(layer.sizeAllCursor);
  layer.arrowCursor = nullptr;
  layer.sizeAllCursor = nullptr;
}

namespace {

void ShowCursor(SDL_Cursor*& cursor, SDL_SystemCursor id) {
  if (cursor == nullptr) cursor = SDL_CreateSystemCursor(id);
  if (cursor != nullptr) SDL_SetCursor(cursor);
  SDL_ShowCursor(SDL_ENABLE);
}

void Warp(std::int32_t x, std::int32_t y) { SDL_WarpMouseGlobal(ToWindowUnits(x), ToWindowUnits(y)); }

// The warp's own motion, and any before it, reach SDL's queue only once
// it is pumped.
void DiscardQueuedMotion() {
  SDL_PumpEvents();
  SDL_FlushEvent(SDL_MOUSEMOTION);
}

void RelativeMotion(bool on) { SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE); }

// The shell holds the capture from CaptureMouse until CaptureLost even where
// SDL refuses it for want of focus: a button pressed in the window still
// reports its release here.
void Capture(bool on) { SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

}  // namespace

HostServices PointerServices(bool canWarp) {
  return {.pressesHeldKeysOnFocus = true,
          .canWarp = canWarp,
          .warp = Warp,
          .discardQueuedMotion = DiscardQueuedMotion,
          .relativeMotion = RelativeMotion,
          .capture = Capture};
}

}  // namespace sdl

using sdl::layer;

void ConfineCursor(const ScreenRect& rect) {
  if (layer.window == nullptr) return;
  int x = 0, y = 0;
  SDL_GetWindowPosition(layer.window, &x, &y);
  // SDL takes the area in window units relative to the client area; it may reach over the frame.
  const int left = sdl::ToWindowUnits(rect.left);
  const int top = sdl::ToWindowUnits(rect.top);
  SDL_Rect area{left - x, top - y, SDL_max(1, sdl::ToWindowUnits(rect.right) - left),
                SDL_max(1, sdl::ToWindowUnits(rect.bottom) - top)};
  SDL_SetWindowMouseRect(layer.window, &area);
}

void UnconfineCursor() {
  emulation.EndRelativeMotion();
  if (layer.window != nullptr) SDL_SetWindowMouseRect(layer.window, nullptr);
}

void WarpCursor(std::int32_t x, std::int32_t y) { emulation.WarpCursor(x, y); }

CursorShape SetCursorShape(CursorShape shape) {
  CursorShape previous = layer.cursorShape;
  layer.cursorShape = shape;
  switch (shape) {
    case CursorShape::Hidden:
      SDL_ShowCursor(SDL_DISABLE);
      break;
    case CursorShape::Arrow:
      sdl::ShowCursor(layer.arrowCursor, SDL_SYSTEM_CURSOR_ARROW);
      break;
    case CursorShape::SizeAll:
      sdl::ShowCursor(layer.sizeAllCursor, SDL_SYSTEM_CURSOR_SIZEALL);
      break;
  }
  return previous;
}

void CaptureMouse() { emulation.CaptureMouse(); }

void ReleaseMouse() { emulation.DropCapture(); }

}  // namespace vellumor::platform

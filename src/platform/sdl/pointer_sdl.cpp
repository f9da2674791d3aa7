// The pointer services: confinement, warping, cursor shapes and the capture.
// SDL confines and captures only while the window has the keyboard focus;
// the shell takes the pointer again when it is activated.

#include "platform/sdl/layer.h"

namespace vellumor::platform {

namespace sdl {

void DropCapture() {
  if (!layer.captured) return;
  layer.captured = false;
  SDL_CaptureMouse(SDL_FALSE);
  Deliver({.kind = EventKind::CaptureLost});
}

void FreeCursors() {
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

}  // namespace
}  // namespace sdl

using sdl::layer;

void ConfineCursor(const ScreenRect& rect) {
  if (layer.window == nullptr) return;
  int x = 0, y = 0;
  SDL_GetWindowPosition(layer.window, &x, &y);
  // SDL takes the area relative to the client area; it may reach over the frame.
  SDL_Rect area{rect.left - x, rect.top - y, SDL_max(1, rect.right - rect.left),
                SDL_max(1, rect.bottom - rect.top)};
  SDL_SetWindowMouseRect(layer.window, &area);
}

void FreeCursor() {
  if (layer.window != nullptr) SDL_SetWindowMouseRect(layer.window, nullptr);
}

void WarpCursor(std::int32_t x, std::int32_t y) { SDL_WarpMouseGlobal(x, y); }

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

void CaptureMouse() {
  // The shell holds the capture from here until CaptureLost, even where SDL
  // refuses it for want of focus: a button pressed in the window still
  // reports its release here.
  layer.captured = true;
  SDL_CaptureMouse(SDL_TRUE);
}

void ReleaseMouse() { sdl::DropCapture(); }

}  // namespace vellumor::platform

// The pointer services: the cursor clip, its position and shape, the capture.

#include "platform/win32/layer.h"

namespace vellumor::platform {

namespace win32 {
namespace {

HCURSOR SizeAllCursor() { return LoadCursorA(nullptr, IDC_SIZEALL); }

HCURSOR CursorFor(CursorShape shape) {
  switch (shape) {
    case CursorShape::Hidden: return nullptr;
    case CursorShape::Arrow: return LoadCursorA(nullptr, IDC_ARROW);
    case CursorShape::SizeAll: return SizeAllCursor();
  }
  return nullptr;
}

// Any cursor not set through these services (a border's resize arrows, for
// one) comes back as the arrow, which the class shows over the client area.
CursorShape ShapeOf(HCURSOR cursor) {
  if (cursor == nullptr) return CursorShape::Hidden;
  if (cursor == SizeAllCursor()) return CursorShape::SizeAll;
  return CursorShape::Arrow;
}

}  // namespace
}  // namespace win32

using win32::layer;

void ConfineCursor(const ScreenRect& rect) {
  const RECT clip{rect.left, rect.top, rect.right, rect.bottom};
  ClipCursor(&clip);
}

void UnconfineCursor() { ClipCursor(nullptr); }

void WarpCursor(std::int32_t x, std::int32_t y) { SetCursorPos(x, y); }

CursorShape SetCursorShape(CursorShape shape) { return win32::ShapeOf(SetCursor(win32::CursorFor(shape))); }

void CaptureMouse() {
  if (layer.windowHandle != nullptr) SetCapture(layer.windowHandle);
}

// Windows sends WM_CAPTURECHANGED from inside ReleaseCapture, if the window held the capture.
void ReleaseMouse() { ReleaseCapture(); }

}  // namespace vellumor::platform

// The window class, the one window and its procedure, destruction.

#include "platform/win32/layer.h"
#include "platform/win32/messages.h"

namespace vellumor::platform {

namespace win32 {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) layer.windowHandle = window;
  Event event;
  if (EventFromMessage(window, message, wParam, lParam, event)) {
    const bool accepted = Deliver(event);
    if (message == WM_CREATE && !accepted) {
      // Refused: CreateWindowExA destroys the window and returns NULL. The
      // shell hears nothing of the destruction.
      SetWindowProcedure(nullptr);
      return -1;
    }
  }
  switch (message) {
    case WM_PAINT:
      // Never validated, so the next paint comes as soon as the queue is empty:
      // paint messages are the frame loop.
      return 0;
    case WM_NCDESTROY:
      HandleConsoleControl(nullptr);
      ReleaseGlContext();
      layer = Layer{};
      SetWindowProcedure(nullptr);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace win32

using win32::layer;

bool CreateMainWindow(const WindowPlacement& placement, WindowProcedure procedure) {
  SetFailure("");
  if (layer.windowHandle != nullptr) {
    SetFailure("cannot create the window: there is one already");
    return false;
  }

  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = 0;
  windowClass.lpfnWndProc = win32::WindowProc;
  windowClass.hInstance = nullptr;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;  // the frames cover the whole client area
  windowClass.lpszClassName = placement.className;
  // A second window in the same process (the layer's tests) finds the class there.
  if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    win32::SetFailureWithError("cannot register the window class");
    return false;
  }

  SetWindowProcedure(procedure);
  HWND window = CreateWindowExA(0, placement.className, placement.title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, placement.x, placement.y,
                                placement.width, placement.height, nullptr, nullptr, nullptr, nullptr);
  if (window == nullptr) {
    // The procedure's own reason (no GL context, no font) stands if it gave one.
    if (FailureReason()[0] == '\0') win32::SetFailureWithError("cannot create the window");
    layer = win32::Layer{};
    SetWindowProcedure(nullptr);
    return false;
  }
  win32::HandleConsoleControl(window);
  return true;
}

ScreenRect GetWindowRect() {
  RECT rect{};
  if (layer.windowHandle != nullptr) ::GetWindowRect(layer.windowHandle, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void DestroyWindow() {
  if (layer.windowHandle != nullptr) ::DestroyWindow(layer.windowHandle);
}

}  // namespace vellumor::platform

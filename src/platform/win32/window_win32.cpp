// The window class, the one window and its procedure, destruction.

#include "platform/win32/layer.h"
#include "platform/win32/messages.h"

namespace vellumor::platform {

namespace win32 {

namespace {

// The program is per-monitor DPI aware (its manifest says so): it sees
// physical pixels everywhere, pointer, window and drawable alike. The
// placement is in pixels at 100 % scale, so the window is made as large on
// screen at any scale, and drawn sharp at its full size.
constexpr int kPlacementDpi = 96;

int Scaled(int value, int dpi) { return MulDiv(value, dpi, kPlacementDpi); }

// The system's DPI: the primary monitor's at logon.
int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kPlacementDpi;
}

// The DPI of the monitor the window is on; GetDpiForWindow came with Windows 10 1607.
int WindowDpi(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  const int dpi = getDpiForWindow != nullptr ? static_cast<int>(getDpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

}  // namespace

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
    // The shell hears the window's DPI before its first size.
    if (message == WM_CREATE) Deliver({.kind = EventKind::DpiChanged, .x = WindowDpi(window)});
  }
  switch (message) {
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: the size Windows suggests keeps
      // the window as large on screen as it was.
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
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
  win32::JoinParentConsole();
  if (layer.windowHandle != nullptr) {
    SetFailure("cannot create the window: there is one already");
    return false;
  }

  // The program's icon is its first icon resource, when it has one.
  HINSTANCE program = GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = 0;
  windowClass.lpfnWndProc = win32::WindowProc;
  windowClass.hInstance = nullptr;
  windowClass.hIcon = LoadIconA(program, MAKEINTRESOURCEA(1));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(program, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                      LR_SHARED));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;  // the frames cover the whole client area
  windowClass.lpszClassName = placement.className;
  // A second window in the same process (the layer's tests) finds the class there.
  const auto [registered, registerError] = win32::Checked([&] { return RegisterClassExA(&windowClass); });
  if (registered == 0 && registerError != ERROR_CLASS_ALREADY_EXISTS) {
    win32::SetFailureWithError("cannot register the window class", registerError);
    win32::TellStartFailure(placement);
    return false;
  }

  SetWindowProcedure(procedure);
  const int dpi = win32::SystemDpi();
  const auto [window, createError] = win32::Checked([&] {
    return CreateWindowExA(0, placement.className, placement.title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           win32::Scaled(placement.x, dpi), win32::Scaled(placement.y, dpi),
                           win32::Scaled(placement.width, dpi), win32::Scaled(placement.height, dpi), nullptr, nullptr,
                           nullptr, nullptr);
  });
  if (window == nullptr) {
    // The procedure's own reason (no GL context, no font) stands if it gave one.
    if (FailureReason()[0] == '\0') win32::SetFailureWithError("cannot create the window", createError);
    layer = win32::Layer{};
    SetWindowProcedure(nullptr);
    win32::TellStartFailure(placement);
    return false;
  }
  // On a monitor whose scale is not the system's, the size follows the monitor.
  const int windowDpi = win32::WindowDpi(window);
  if (windowDpi != dpi) {
    SetWindowPos(window, nullptr, 0, 0, win32::Scaled(placement.width, windowDpi),
                 win32::Scaled(placement.height, windowDpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

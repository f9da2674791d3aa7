#pragma once
// What the Win32 layer keeps between calls: the one window, its device and
// rendering contexts, and the shell's window procedure.

#include <windows.h>

#include <string>

#include "platform/layer_shared.h"
#include "platform/platform.h"

namespace vellumor::platform::win32 {

struct Layer {
  HWND windowHandle = nullptr;
  HDC deviceContext = nullptr;  // taken once, kept while the window lives
  HGLRC glContext = nullptr;    // made current once, never switched
};

extern Layer layer;

// The reason with the thread's last Win32 error appended, if there is one.
void SetFailureWithError(const std::string& reason);

// The pixel format asked for, and whether one the driver chose will do (gl_win32.cpp).
PIXELFORMATDESCRIPTOR PixelFormatRequest();
bool DrawsToAWindowWithOpenGl(const PIXELFORMATDESCRIPTOR& format);

// Lets go of the rendering and device contexts of a window that is going (gl_win32.cpp).
void ReleaseGlContext();

// The window procedure the window class is registered with (window_win32.cpp).
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Console control events (console_win32.cpp): Ctrl+C, Ctrl+Break and closing
// the console ask the window to close, as its close button does.
void HandleConsoleControl(HWND window);
BOOL WINAPI OnConsoleControl(DWORD type);

}  // namespace vellumor::platform::win32

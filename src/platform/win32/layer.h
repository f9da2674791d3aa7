#pragma once
// The platform layer for Windows, on USER32, GDI32 and OpenGL 1.1 through WGL.
//
// Implements every service of platform.h with the Windows calls the contract
// is named after: the window class and window, a double-buffered RGBA pixel
// format with a 32-bit depth buffer, the system font through
// wglUseFontBitmapsA (one like it at another DPI), ClipCursor, SetCursorPos,
// SetCursor, SetCapture and ReleaseCapture, a GetMessage loop that paints
// whenever the queue is empty (the window is never validated), and
// GetTickCount. Window messages become
// the contract's events one for one (a key-up also when it comes as a system
// key-up, with Alt down); Ctrl+C, Ctrl+Break and closing the console close
// the window.
//
// Where it goes beyond the contract: the program is a GUI program that joins
// the console it was started from and shows a start-up failure in a message
// box when there is none; it is per-monitor DPI aware, so the placement,
// given at 96 DPI, is scaled to the monitor's pixels, and a move to a monitor
// of another scale keeps its size on screen; the window procedure hears the
// window's DPI after Create and at every such move, and the font follows it;
// the window class carries the executable's icon.
//
// What Wine, where the tests run, changes: its maths, system font and input
// path differ from Windows'; it reads the display's input only when a thread
// waits, so the loop waits for no time after each frame; without a window
// manager it draws no frame but keeps Windows' frame metrics; and without a
// display it has no OpenGL, which the program reports as "no OpenGL context".
//
// What the layer keeps between calls: the one window and its device and
// rendering contexts.

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

// A Win32 call's result and the thread's last error as it stood right after
// it. The error is cleared first: a call that fails need not set one, and an
// older call's error would be reported as its own.
template <typename Result>
struct Outcome {
  Result result;
  DWORD error;
};
template <typename Call>
auto Checked(Call call) {
  SetLastError(0);
  auto result = call();
  const DWORD error = GetLastError();
  return Outcome<decltype(result)>{result, error};
}

// "reason (Windows error N)" when the failed call left an error N, then what
// the user can do about it, when given: one line.
void SetFailureWithError(const std::string& reason, DWORD error, const char* remedy = "");

// The remedy for a driver that gives the program no OpenGL.
inline constexpr char kUpdateTheDriver[] = "; install or update the graphics driver";

// The pixel format asked for, and whether one the driver chose will do (gl_win32.cpp).
PIXELFORMATDESCRIPTOR PixelFormatRequest();
bool DrawsToAWindowWithOpenGl(const PIXELFORMATDESCRIPTOR& format);

// A font like the system font at `dpi`, for the glyph lists (gl_win32.cpp).
HFONT SystemFontAt(int dpi);

// Lets go of the rendering and device contexts of a window that is going (gl_win32.cpp).
void ReleaseGlContext();

// The window procedure the window class is registered with (window_win32.cpp).
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The console (console_win32.cpp). The program, a GUI program, has none of
// its own: started from a console it joins that one (done once, first);
// started from Explorer it has none.
void JoinParentConsole();
// Tells why the program cannot start where it can be read: nothing more
// when stderr was handed over (the program writes there), the program's line
// in the joined console, or else a message box.
void TellStartFailure(const WindowPlacement& placement);
// Ctrl+C, Ctrl+Break and closing the console ask the window to close, as its
// close button does.
void HandleConsoleControl(HWND window);
BOOL WINAPI OnConsoleControl(DWORD type);

}  // namespace vellumor::platform::win32

#pragma once
// The whole contract between the viewer and the machine it runs on.
//
// The shell (src/app) hands the layer one window procedure and calls the
// services below by intention; the layer turns the host's window system into
// the events listed here. The real layers are Win32 with WGL on Windows
// (platform/win32), SDL2 with FreeType and fontconfig on Linux desktops
// (platform/sdl) and Emscripten's html5.h in the browser (platform/web); the
// last two make their hosts behave as Windows through one shared emulation
// (windows_emulation.h). The tests link a fake layer that records every
// service call and lets a test send events.
//
// Everything runs on one thread. Events are delivered one at a time, except
// that ReleaseMouse and DestroyWindow deliver CaptureLost and Destroy to the
// window procedure before they return, and CreateMainWindow delivers Create.

#include <cstdint>

namespace vellumor::platform {

enum class EventKind {
  Create,          // the window exists; the procedure sets up GL and may refuse (return false)
  Destroy,         // the window is going away
  Move,            // x, y: screen position of the client area's top-left corner
  Size,            // x, y: client width and height in pixels (0 when minimised)
  Paint,           // sent whenever the queue holds nothing else: one frame
  Activate,        // active: the application gained (true) or lost (false) the focus
  KeyDown,         // key: Windows virtual-key code; repeat: an auto-repeat
  KeyUp,           // key: Windows virtual-key code
  MouseMove,       // x, y: pointer in client coordinates
  LeftButtonDown,  // x, y: pointer in client coordinates
  LeftButtonUp,    // x, y: pointer in client coordinates
  Wheel,           // wheelDelta: 120 per notch, positive turned away from the user
  CaptureLost,     // the window no longer holds the mouse capture
  DpiChanged,      // x: dots per inch of the window's display, 96 at a scale of 1;
                   // sent after Create, before the first Size, and on every change
};

struct Event {
  EventKind kind = EventKind::Paint;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t key = 0;
  std::int32_t wheelDelta = 0;
  bool repeat = false;
  bool active = false;
};

// Returns false from Create to refuse the window. For KeyDown it returns
// whether the procedure acted on the key, as a Windows window procedure
// reports a handled key: where the host would act on it too (a browser's
// shortcuts), the layer keeps the key, its repeats and its key-up from it.
using WindowProcedure = bool (*)(const Event& event);

struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

enum class CursorShape { Hidden, Arrow, SizeAll };

// Dots per inch at a scale of 1, in which the placement is given.
inline constexpr std::int32_t kPlainDpi = 96;

// A length in pixels at kPlainDpi, in pixels at `dpi`: nearest, halves up.
constexpr std::int32_t ScaledToDpi(std::int32_t plainPixels, std::int32_t dpi) {
  const std::int64_t scaled = std::int64_t{plainPixels} * dpi;
  return static_cast<std::int32_t>(scaled >= 0 ? (scaled + kPlainDpi / 2) / kPlainDpi
                                               : -((kPlainDpi / 2 - scaled - 1) / kPlainDpi));
}

// Where the window goes and how big it is, with its class and title, at
// kPlainDpi: a layer makes it as much larger as the display's scale.
struct WindowPlacement {
  const char* className;  // the window class; on X11, WM_CLASS
  const char* title;
  std::int32_t x, y;          // outer position on screen
  std::int32_t width, height; // outer size
};

// Program lifecycle -----------------------------------------------------------

// Opens the window with a double-buffered GL-capable surface, sends Create,
// then the first Size and Move. False, with FailureReason, when there is no
// display, the window cannot be made or Create refused it.
bool CreateMainWindow(const WindowPlacement& placement, WindowProcedure procedure);

// Runs until Quit: dispatches input as it comes and Paint whenever the queue
// is empty. A close request (title bar, SIGINT, SIGTERM) destroys the window.
// Returns the exit code given to Quit.
int RunMessageLoop();

// One line saying why the last failing call failed.
const char* FailureReason();

// GL and text, for Create and Paint ----------------------------------------------

// Creates the window's GL 1.1 compatible rendering context and makes it current.
bool CreateRenderingContext();

// Renders the system font into 256 display lists, one per character code
// 0..255 (Latin-1), each a glBitmap that advances the raster position, at
// the size it has on a display of `dpi` (kPlainDpi: as at a scale of 1).
// Returns the first list, or 0 on failure.
std::uint32_t CreateFontLists(std::int32_t dpi);

void SwapBuffers();

// Pointer ------------------------------------------------------------------------

void ConfineCursor(const ScreenRect& rect);  // keep the cursor inside rect (screen pixels)
void UnconfineCursor();                     // lift the confinement
void WarpCursor(std::int32_t x, std::int32_t y);  // move the cursor to a screen point
CursorShape SetCursorShape(CursorShape shape);    // returns the shape it replaces
void CaptureMouse();   // the window receives all mouse input
void ReleaseMouse();   // delivers CaptureLost before returning, if the capture was held
ScreenRect GetWindowRect();  // the window's outer rectangle on screen, frame included

// Window and process -------------------------------------------------------------

void DestroyWindow();          // delivers Destroy before returning
void Quit(int exitCode);       // RunMessageLoop returns once the current event is handled
std::uint32_t TickCount();     // milliseconds, wrapping as a 32-bit unsigned value

}  // namespace vellumor::platform

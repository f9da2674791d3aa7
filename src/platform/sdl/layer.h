#pragma once
// The platform layer for Linux desktops, on SDL2 with FreeType and fontconfig,
// on X11 and Wayland.
//
// Implements every service of platform.h: the window with a double-buffered
// GL 1.1 compatibility context (the deepest depth buffer up to 32 bits the
// display offers), the system font as 256 glBitmap lists (fontconfig's bold
// sans-serif at 11 pixels at 96 DPI), confinement, warping, cursor shapes,
// the capture, the message loop with a Paint whenever the queue is empty,
// and SDL's millisecond tick. It translates SDL's events into calls of the
// shared emulation (windows_emulation.h), which keeps Windows' rules for keys,
// focus, the capture, the wheel and look mode: keys as virtual-key codes,
// the wheel in notches, positions and sizes in drawable pixels.
//
// Where the desktop differs from Windows:
// - Wayland cannot warp the pointer: look mode runs on relative motion,
//   moving a virtual cursor that the shell's warps put back to the centre,
//   and the compositor places the window.
// - SDL releases every key as the focus goes; those key-ups are dropped, as
//   a Windows window hears none.
// - SDL confines and captures only while the window has the focus.
// - A window manager's frame is known only some events after the window is
//   shown; the outer position and size are fitted to it then, once.
// - The display's scale: X11 desktops tell it as Xft.dpi, read once at
//   start, and the window is made as much larger in pixels; Wayland gives
//   the drawable more pixels per window unit itself. Either way the window
//   procedure hears the DPI, 96 times the two.
// - Mesa maps and unmaps large blocks every frame under glibc's defaults:
//   the allocator's thresholds are raised when the message loop starts.
//
// What the layer keeps between calls: the one window, its GL context and
// cursors; the emulation keeps the rest.

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/layer_shared.h"
#include "platform/platform.h"
#include "platform/windows_emulation.h"

namespace vellumor::platform::sdl {

// What the SDL layer holds beside the shared emulation: its handles and the
// window's geometry. Contract coordinates are drawable pixels; SDL gives
// pointer and window positions in window units, which differ from pixels on
// scaled displays.
struct Layer {
  SDL_Window* window = nullptr;
  std::uint32_t windowId = 0;     // SDL's id of `window`, for telling its events apart
  SDL_GLContext glContext = nullptr;
  std::string title;
  WindowPlacement placement{};    // title points into `title`
  std::uint32_t windowFlags = 0;  // the flags the window was made with
  int depthBits = 0;              // depth buffer the window's visual was chosen for
  bool destroying = false;
  CursorShape cursorShape = CursorShape::Arrow;
  SDL_Cursor* arrowCursor = nullptr;
  SDL_Cursor* sizeAllCursor = nullptr;
  std::uint32_t shownTick = 0;    // when the window was shown
  bool frameFitted = false;       // the outer size was matched to the frame, or no frame came
  double pixelScale = 1.0;        // drawable pixels per window unit
  std::int32_t desktopDpi = kPlainDpi;  // X11's Xft.dpi; the window's units are pixels there
};

extern Layer layer;

// Window (window_sdl.cpp).
SDL_Window* OpenWindow(int depthBits);  // at the placement in `layer`; nullptr when refused
void SendSize();                        // the current client size, to the emulation
void FitOuterGeometry();                  // outer position and size, once the frame is known
void TearDown();                        // close the window without telling the shell

// Events (events_sdl.cpp).
bool DispatchNext();                 // the next queued event, if any, to the window procedure
void Dispatch(const SDL_Event& event);
std::int32_t ToPixels(int windowUnits);
int ToWindowUnits(std::int32_t pixels);

// The display's scale (display_scale.cpp).
std::int32_t XftDpi(const char* resources);  // Xft.dpi in an X resource string; 0 without one
std::int32_t DesktopDpi(SDL_Window* window);  // X11's Xft.dpi, kPlainDpi elsewhere or without one

// Pointer (pointer_sdl.cpp).
HostServices PointerServices(bool canWarp);  // what the emulation asks of SDL's pointer
void DestroyCursors();

// Before the first frame (allocator.cpp).
void TuneAllocator();

}  // namespace vellumor::platform::sdl

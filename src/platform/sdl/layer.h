#pragma once
// The platform layer for Linux desktops, on SDL2 with FreeType and fontconfig,
// on X11 and Wayland.
//
// Implements every service of platform.h: the window with a double-buffered
// GL 1.1 compatibility context (the deepest depth buffer up to 32 bits the
// display offers), the system font as 256 glBitmap lists (fontconfig's bold
// sans-serif at 11 pixels), confinement, warping, cursor shapes, the capture,
// the message loop with a Paint whenever the queue is empty, and SDL's
// millisecond tick. It turns SDL's events into the contract's as Windows
// would send them: a key-down is a repeat when the key was already down;
// Alt combinations (not Ctrl+Alt) and F10 are system keys, which the
// shell never sees go down; wheel motion is summed into units of 120;
// positions and sizes are in drawable pixels.
//
// Where the desktop differs from Windows:
// - Wayland cannot warp the pointer: look mode runs on relative motion,
//   moving a virtual cursor that the shell's warps put back to the centre,
//   and the compositor places the window.
// - A window that loses the focus hears no key-ups; keys down at the loss
//   stay silent on return until they are released and pressed again, and the
//   layer takes the capture away as Windows does.
// - SDL confines and captures only while the window has the focus.
// - A window manager's frame is known only some events after the window is
//   shown; the outer position and size are fitted to it then, once.
// - Mesa maps and unmaps large blocks every frame under glibc's defaults:
//   the allocator's thresholds are raised when the message loop starts.
//
// What the layer keeps between calls: the one window, its GL context and the
// little state the services share.

#include <SDL.h>

#include <bitset>
#include <cstdint>
#include <string>

#include "platform/layer_shared.h"
#include "platform/platform.h"

namespace vellumor::platform::sdl {

// Contract coordinates are drawable pixels; SDL gives pointer and window
// positions in window units, which differ from pixels on scaled displays.
struct Layer {
  SDL_Window* window = nullptr;
  std::uint32_t windowId = 0;     // SDL's id of `window`, for telling its events apart
  SDL_GLContext glContext = nullptr;
  std::string title;
  WindowPlacement placement{};    // title points into `title`
  std::uint32_t windowFlags = 0;  // the flags the window was made with
  int depthBits = 0;              // depth buffer the window's visual was chosen for
  bool destroying = false;
  bool captured = false;          // the shell holds the capture (between CaptureMouse and CaptureLost)
  bool quitRequested = false;
  int exitCode = 0;
  CursorShape cursorShape = CursorShape::Arrow;
  SDL_Cursor* arrowCursor = nullptr;
  SDL_Cursor* sizeAllCursor = nullptr;
  std::int32_t sentWidth = -1, sentHeight = -1;  // last Size delivered
  std::int32_t sentX = 0, sentY = 0;             // last Move delivered
  bool moveSent = false;
  std::uint32_t shownTick = 0;    // when the window was shown
  bool frameFitted = false;       // the outer size was matched to the frame, or no frame came
  float wheelResidue = 0.0f;      // wheel motion not yet delivered, in 1/120 notches
  double pixelScale = 1.0;        // drawable pixels per window unit

  // Keyboard, as Windows reports it: a key-down is a repeat when the key was
  // already down, and a window that loses the focus hears no key-ups.
  std::bitset<256> keysDown;         // by virtual-key code, as far as the window knows
  std::bitset<256> heldAtFocusLoss;  // keys that were down when the focus went
  bool focused = false;
  std::uint32_t focusGainedAt = 0;   // SDL timestamp of the last focus gain

  // Where the pointer cannot be warped (Wayland), look mode runs on relative
  // motion: a warp puts a virtual cursor where the shell wants it, and motion
  // moves that cursor.
  bool relativeLook = false;       // this display cannot warp
  bool relativeActive = false;     // relative motion is on
  std::int32_t virtualX = 0;       // the virtual cursor, screen pixels
  std::int32_t virtualY = 0;
};

extern Layer layer;

// Window (window_sdl.cpp).
SDL_Window* OpenWindow(int depthBits);  // at the placement in `layer`; nullptr when refused
void SendSize();                        // current client size, if it changed
void SendMove(std::int32_t x, std::int32_t y);  // client position, if it changed
void FitOuterGeometry();                  // outer position and size, once the frame is known
void TearDown();                        // close the window without telling the shell

// Events (events_sdl.cpp).
bool DispatchNext();                 // the next queued event, if any, to the window procedure
void Dispatch(const SDL_Event& event);
std::int32_t ToPixels(int windowUnits);
int ToWindowUnits(std::int32_t pixels);

// Pointer (pointer_sdl.cpp).
void DropCapture();          // the capture went away: deliver CaptureLost if the shell held it
void DestroyCursors();

// Before the first frame (allocator.cpp).
void TuneAllocator();

}  // namespace vellumor::platform::sdl

#pragma once
// The platform layer for the browser, on Emscripten's html5.h and our own
// OpenGL 1.1 subset over WebGL 1 (src/gl_over_webgl).
//
// Implements every service of platform.h: the window is a canvas in the page
// with a WebGL 1 context, drawn at the device's pixel ratio, which is the
// display's scale; the font is the desktop's, rendered at build time into
// 256 glBitmap lists at the sizes of the usual ratios; the message loop
// is the browser's animation frame, each one a Paint; the clock is
// performance.now() in milliseconds. Browser events become the contract's as
// Windows would send them: keys as virtual-key codes, a key-down a repeat
// when the key was already down, the keys the viewer uses kept from the
// browser; the wheel in units of 120 a notch; the canvas's focus and blur as
// activation; its size as Size in drawable pixels.
//
// What a page cannot do, and what it does instead:
// - It cannot move the pointer: look mode runs under Pointer Lock on
//   relative motion, moving a virtual cursor that the shell's warps put back.
//   The browser grants the lock only after a key or a click, and takes
//   Escape to end it: that Escape frees the pointer, and a second one ends
//   the viewer.
// - It has no screen around the window: the canvas's own coordinates are the
//   screen's, Move is always (0, 0), and the cursor is not confined.
// - Cursor shapes are CSS cursors.
// - When the viewer ends, the page says so and offers to start again.
// - The browser may take the WebGL context away (a GPU reset, too many
//   contexts): frames wait, as for a minimised window, until it gives the
//   context back, and the next frame draws everything again.
//
// What the layer keeps between calls: the canvas that is the window, its
// WebGL context and the pointer lock's state; the emulation keeps the rest.

#include <emscripten/html5_webgl.h>

#include <cstdint>
#include <string>

#include "platform/layer_shared.h"
#include "platform/platform.h"
#include "platform/web/browser_input.h"
#include "platform/windows_emulation.h"

namespace vellumor::platform::web {

// What the web layer holds beside the shared emulation. The canvas is the
// window and there is no screen around it: screen coordinates are the
// canvas's own, in drawable pixels (CSS pixels times the device's pixel
// ratio), so the client area sits at (0, 0).
struct Layer {
  std::string canvas;  // CSS selector of the canvas: "#" and the window class
  bool open = false;   // between Create and Destroy
  bool destroying = false;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE glContext = 0;
  bool contextLost = false;  // between the browser taking the WebGL context and giving it back
  CursorShape cursorShape = CursorShape::Arrow;
  std::uint32_t createdTick = 0;  // TickCount when the window was made
  bool painted = false;           // a Paint has been delivered
  double pixelScale = 1.0;        // drawable pixels per CSS pixel

  // Look mode runs under pointer lock, which the browser grants and ends
  // in its own time.
  bool locked = false;           // the browser holds the pointer lock for the canvas
  bool unlockRequested = false;  // the layer itself asked the lock to end
  // The latest input came from a finger: look mode then runs on its motion,
  // without asking for a lock that touch has no use for.
  bool byTouch = false;
};

extern Layer layer;

// Window (window_web.cpp).
void SendSize();  // the canvas's drawable size, if it changed; resizes its buffer to it

// Events (events_web.cpp).
void ListenForEvents();
void StopListening();
// A key from the keyboard or the page's controls; true when the shell took it.
bool PageKey(std::int32_t code, bool down, KeyModifiers modifiers, bool repeat);

// Pointer (pointer_web.cpp).
HostServices PointerServices();  // what the emulation asks of the page's pointer
void OnPointerLockChange();     // the browser took or ended the lock

}  // namespace vellumor::platform::web

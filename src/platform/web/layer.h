#pragma once
// What the web layer keeps between calls: the canvas that is the window, its
// WebGL context and the little state the services share.

#include <emscripten/html5_webgl.h>

#include <bitset>
#include <cstdint>
#include <string>

#include "platform/layer_shared.h"
#include "platform/platform.h"
#include "platform/web/browser_input.h"

namespace vellumor::platform::web {

// The canvas is the window and there is no screen around it: screen
// coordinates are the canvas's own, in drawable pixels (CSS pixels times
// the device's pixel ratio), so the client area sits at (0, 0).
struct Layer {
  std::string canvas;  // CSS selector of the canvas: "#" and the window class
  bool open = false;   // between Create and Destroy
  bool destroying = false;
  bool quitRequested = false;
  int exitCode = 0;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE glContext = 0;
  bool captured = false;  // the shell holds the capture (between CaptureMouse and CaptureLost)
  CursorShape cursorShape = CursorShape::Arrow;
  std::uint32_t createdTick = 0;  // TickCount when the window was made
  bool painted = false;           // a Paint has been delivered
  std::int32_t sentWidth = -1, sentHeight = -1;  // last Size delivered
  double pixelScale = 1.0;                       // drawable pixels per CSS pixel
  WheelGatherer wheel;

  // Keyboard, as Windows reports it: a key-down is a repeat when the key was
  // already down, and a window that loses the focus hears no key-ups.
  std::bitset<256> keysDown;  // by virtual-key code, as far as the canvas knows
  bool focused = false;

  // A page cannot move the pointer: look mode runs on relative motion under
  // pointer lock. A warp puts a virtual cursor where the shell wants it, and
  // motion moves that cursor.
  bool relativeActive = false;   // relative motion is on
  bool locked = false;           // the browser holds the pointer lock for the canvas
  bool unlockRequested = false;  // the layer itself asked the lock to end
  double virtualX = 0.0;         // the virtual cursor, drawable pixels
  double virtualY = 0.0;
};

extern Layer layer;

// Window (window_web.cpp).
void SendSize();  // the canvas's drawable size, if it changed; resizes its buffer to it

// Events (events_web.cpp).
void ListenForEvents();
void StopListening();
void OnFocus(bool active);

// Pointer (pointer_web.cpp).
void DropCapture();        // the capture went away: deliver CaptureLost if the shell held it
void OnPointerLockChange();  // the browser took or ended the lock
void EndRelativeMotion();

}  // namespace vellumor::platform::web

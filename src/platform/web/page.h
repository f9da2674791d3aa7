#pragma once
// What the layer asks of the page directly, where emscripten/html5.h has no
// call: the canvas's box, its CSS cursor and pointer lock.

namespace vellumor::platform::web {

// The canvas's box in the page's viewport, in CSS pixels.
struct CanvasBox {
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;
};

bool CanvasExists(const char* selector);
CanvasBox ReadCanvasBox(const char* selector);
bool CanvasHasFocus(const char* selector);
void FocusCanvas(const char* selector);  // unless it has the focus already
// The cursor over the canvas, and over the whole page too when wholePage
// (a drag goes on wherever the pointer is).
void SetCanvasCursor(const char* selector, const char* cssCursor, bool wholePage);

// Asks for pointer lock on the canvas; a refusal arrives as an event, never
// as an error on the console.
void RequestPointerLock(const char* selector);
void ExitPointerLock();
bool PointerLockedTo(const char* selector);

}  // namespace vellumor::platform::web

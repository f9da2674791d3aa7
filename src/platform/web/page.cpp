#include "platform/web/page.h"

#include <emscripten/emscripten.h>

// The page's side, in JavaScript; C names, outside any namespace.
// clang-format off
EM_JS(int, JsCanvasExists, (const char* selector), {
  return document.querySelector(UTF8ToString(selector)) instanceof HTMLCanvasElement ? 1 : 0;
});

EM_JS(void, JsReadCanvasBox, (const char* selector, double* box), {
  var canvas = document.querySelector(UTF8ToString(selector));
  var r = canvas ? canvas.getBoundingClientRect() : {left: 0, top: 0, width: 0, height: 0};
  HEAPF64[(box >> 3) + 0] = r.left;
  HEAPF64[(box >> 3) + 1] = r.top;
  HEAPF64[(box >> 3) + 2] = r.width;
  HEAPF64[(box >> 3) + 3] = r.height;
});

EM_JS(int, JsCanvasHasFocus, (const char* selector), {
  var canvas = document.querySelector(UTF8ToString(selector));
  return canvas && document.activeElement === canvas && document.hasFocus() ? 1 : 0;
});

EM_JS(void, JsFocusCanvas, (const char* selector), {
  var canvas = document.querySelector(UTF8ToString(selector));
  if (canvas && document.activeElement !== canvas) canvas.focus();
});

EM_JS(void, JsSetCanvasCursor, (const char* selector, const char* cursor, int wholePage), {
  var canvas = document.querySelector(UTF8ToString(selector));
  if (canvas) canvas.style.cursor = UTF8ToString(cursor);
  document.documentElement.style.cursor = wholePage ? UTF8ToString(cursor) : "";
});

// Newer browsers answer requestPointerLock with a promise whose refusal,
// unhandled, would be reported as an error; the pointerlockerror event
// tells the layer instead.
EM_JS(void, JsRequestPointerLock, (const char* selector), {
  var canvas = document.querySelector(UTF8ToString(selector));
  if (!canvas || !canvas.requestPointerLock) return;
  try {
    var answer = canvas.requestPointerLock();
    if (answer && answer.catch) answer.catch(function() {});
  } catch (e) {
  }
});

EM_JS(void, JsExitPointerLock, (), {
  if (document.pointerLockElement && document.exitPointerLock) document.exitPointerLock();
});

EM_JS(int, JsPointerLockedTo, (const char* selector), {
  var canvas = document.querySelector(UTF8ToString(selector));
  return canvas && document.pointerLockElement === canvas ? 1 : 0;
});
// clang-format on

namespace vellumor::platform::web {

bool CanvasExists(const char* selector) { return JsCanvasExists(selector) != 0; }

CanvasBox ReadCanvasBox(const char* selector) {
  double box[4] = {};
  JsReadCanvasBox(selector, box);
  return CanvasBox{box[0], box[1], box[2], box[3]};
}

bool CanvasHasFocus(const char* selector) { return JsCanvasHasFocus(selector) != 0; }

void FocusCanvas(const char* selector) { JsFocusCanvas(selector); }

void SetCanvasCursor(const char* selector, const char* cssCursor, bool wholePage) {
  JsSetCanvasCursor(selector, cssCursor, wholePage ? 1 : 0);
}

void RequestPointerLock(const char* selector) { JsRequestPointerLock(selector); }

void ExitPointerLock() { JsExitPointerLock(); }

bool PointerLockedTo(const char* selector) { return JsPointerLockedTo(selector) != 0; }

}  // namespace vellumor::platform::web

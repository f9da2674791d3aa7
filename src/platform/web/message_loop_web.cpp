// The message loop is the browser's: events arrive through their callbacks
// as they come, and every animation frame is a Paint. The loop cannot block
// in a page, so RunMessageLoop hands the thread back to the browser and
// never returns; Quit ends the runtime with the exit code instead, which
// runs the exit processing as returning from main would and tells the page.

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdlib>

#include "platform/web/layer.h"
#include "platform/web/page.h"

namespace vellumor::platform {

namespace web {
namespace {

// A frame in the millisecond the window was made in starts the clock at 0,
// and the scene resets a second time (its orthographic camera moves 1000
// units on). Whether the first frame falls there is chance, on the desktop
// as in a page; the page's waits for a later millisecond, so every start
// looks alike.
void Frame() {
  if (!layer.open || emulation.QuitRequested() || layer.contextLost) return;
  if (!layer.painted && TickCount() == layer.createdTick) return;
  layer.painted = true;
  SendSize();
  Deliver({.kind = EventKind::Paint});
}

// After the event that quit has been handled.
void Finish(void*) {
  emscripten_cancel_main_loop();
  StopListening();
  ExitPointerLock();
  SetWindowProcedure(nullptr);
  std::exit(emulation.ExitCode());
}

}  // namespace
}  // namespace web

using web::layer;

int RunMessageLoop() {
  emscripten_set_main_loop(web::Frame, 0, EM_TRUE);
  return emulation.ExitCode();  // not reached: the page's event loop runs from here
}

void Quit(int exitCode) {
  if (emulation.QuitRequested()) return;
  emulation.Quit(exitCode);
  emscripten_async_call(web::Finish, nullptr, 0);
}

std::uint32_t TickCount() {
  // performance.now(): milliseconds since the page began, never going back.
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(emscripten_get_now()));
}

}  // namespace vellumor::platform

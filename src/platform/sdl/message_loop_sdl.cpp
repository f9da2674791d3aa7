// The message loop: queued events first, and Paint whenever nothing else is waiting.

#include "platform/sdl/layer.h"

namespace vellumor::platform {

namespace sdl {
namespace {

// A minimised or hidden window has nothing to paint; it waits for events.
bool CanPaint() {
  return layer.window != nullptr &&
         (SDL_GetWindowFlags(layer.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
}

}  // namespace
}  // namespace sdl

using sdl::layer;

int RunMessageLoop() {
  // The frames start here; a program that draws its own (the frame benchmark) keeps its own settings.
  sdl::TuneAllocator();
  while (!emulation.QuitRequested()) {
    if (sdl::DispatchNext()) continue;
    if (sdl::CanPaint()) {
      Deliver({.kind = EventKind::Paint});
      continue;
    }
    SDL_Event event;
    if (SDL_WaitEvent(&event) != 0) sdl::Dispatch(event);
  }
  SetWindowProcedure(nullptr);
  sdl::TearDown();
  return emulation.ExitCode();
}

void Quit(int exitCode) { emulation.Quit(exitCode); }

std::uint32_t TickCount() { return static_cast<std::uint32_t>(SDL_GetTicks64()); }

}  // namespace vellumor::platform

#include "frame/bench_platform.h"

#include <GL/gl.h>

#include <string>

#include "app/shell.h"
#include "platform/layer_shared.h"
#include "platform/sdl/layer.h"

namespace vellumor::benchplatform {

using platform::sdl::layer;

bool OpenWindow() {
  const platform::WindowPlacement placement{"vellumor-frame-bench", "Vellumor frame benchmark", 0, 0, 256, 256};
  if (!platform::CreateMainWindow(placement, WindowProc)) return false;
  SDL_GL_SetSwapInterval(0);  // unpaced, so that a frame measures drawing alone
  return true;
}

bool Resize(int width, int height) {
  SDL_SetWindowSize(layer.window, width, height);
  SDL_PumpEvents();
  while (platform::sdl::DispatchNext()) {
  }
  platform::sdl::SendSize();
  const platform::WindowsEmulation& sent = platform::emulation;
  if (sent.SentWidth() != width || sent.SentHeight() != height) {
    platform::SetFailure("the window is " + std::to_string(sent.SentWidth()) + "x" + std::to_string(sent.SentHeight()) +
                         ", not " + std::to_string(width) + "x" + std::to_string(height));
    return false;
  }
  return true;
}

std::string Renderer() {
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return renderer != nullptr ? renderer : "unknown";
}

}  // namespace vellumor::benchplatform

// The window's OpenGL context: double-buffered, compatibility profile, the
// deepest depth buffer the display offers up to 32 bits.

#include "platform/sdl/layer.h"

namespace vellumor::platform {

using sdl::layer;

bool CreateRenderingContext() {
  switch (BeforeRenderingContext(layer.window != nullptr, layer.glContext != nullptr)) {
    case ContextStep::NoWindow: return false;
    case ContextStep::AlreadyMade: return true;
    case ContextStep::Make: break;
  }
  // Where the depth is only settled with the context (EGL), a refusal here
  // means trying again with a shallower buffer, on a window made for it.
  // No event has been sent yet, so the shell never sees the window change.
  for (int depth : {32, 24, 16}) {
    if (depth > layer.depthBits) continue;
    if (depth != layer.depthBits) {
      SDL_Window* window = sdl::OpenWindow(depth);
      if (window == nullptr) continue;
      SDL_DestroyWindow(layer.window);
      layer.window = window;
      layer.windowId = SDL_GetWindowID(window);
    }
    layer.glContext = SDL_GL_CreateContext(layer.window);
    if (layer.glContext != nullptr) break;
  }
  if (layer.glContext == nullptr) {
    SetFailure(std::string("no OpenGL context: ") + SDL_GetError());
    return false;
  }
  if (SDL_GL_MakeCurrent(layer.window, layer.glContext) != 0) {
    SetFailure(std::string("no OpenGL context: ") + SDL_GetError());
    SDL_GL_DeleteContext(layer.glContext);
    layer.glContext = nullptr;
    return false;
  }
  return true;
}

void SwapBuffers() {
  if (layer.window != nullptr) SDL_GL_SwapWindow(layer.window);
}

}  // namespace vellumor::platform

// The platform services the viewer's shell needs, for the frame benchmark: an
// SDL window with a GL context, stand-in font lists, a millisecond clock.
// Pointer and window services do nothing; there is no message loop, the
// benchmark sends the events itself.

#include "frame/bench_platform.h"

#include <GL/gl.h>
#include <SDL.h>

#include <string>
#include <vector>

namespace vellumor {
namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
platform::WindowProcedure procedure = nullptr;
std::string failure;

bool Fail(const std::string& what) {
  failure = what + ": " + SDL_GetError();
  return false;
}

}  // namespace
}  // namespace vellumor

namespace vellumor::benchplatform {

bool OpenWindow(int width, int height) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return Fail("no video");
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  window = SDL_CreateWindow("Vellumor frame benchmark", 0, 0, width, height, SDL_WINDOW_OPENGL);
  if (window == nullptr) return Fail("no window");
  return true;
}

bool Resize(int width, int height) {
  SDL_SetWindowSize(window, width, height);
  SDL_PumpEvents();
  int w = 0;
  int h = 0;
  SDL_GL_GetDrawableSize(window, &w, &h);
  if (w != width || h != height) {
    failure = "the window is " + std::to_string(w) + "x" + std::to_string(h) + ", not " + std::to_string(width) +
              "x" + std::to_string(height);
    return false;
  }
  return true;
}

std::string Renderer() {
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  return renderer != nullptr ? renderer : "unknown";
}

}  // namespace vellumor::benchplatform

namespace vellumor::platform {

bool CreateMainWindow(const WindowPlacement&, WindowProcedure proc) {
  procedure = proc;
  return true;
}

int RunMessageLoop() { return 0; }

const char* FailureReason() { return failure.c_str(); }

bool CreateRenderingContext() {
  context = SDL_GL_CreateContext(window);
  if (context == nullptr) return Fail("no GL context");
  SDL_GL_MakeCurrent(window, context);
  SDL_GL_SetSwapInterval(0);  // unpaced, so that a frame measures drawing alone
  return true;
}

// Stand-in glyphs of the overlay font's size: a 7 by 11 bitmap per
// character code, some of its pixels set, advancing 7 pixels.
std::uint32_t CreateFontLists() {
  const GLuint base = glGenLists(256);
  if (base == 0) return 0;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (GLuint code = 0; code < 256; ++code) {
    std::vector<GLubyte> rows(11);
    for (std::size_t r = 0; r < rows.size(); ++r) rows[r] = static_cast<GLubyte>((code * (r + 3)) & 0xFE);
    glNewList(base + code, GL_COMPILE);
    glBitmap(7, 11, 0.0f, 2.0f, 7.0f, 0.0f, rows.data());
    glEndList();
  }
  return base;
}

void SwapBuffers() { SDL_GL_SwapWindow(window); }

void ConfineCursor(const ScreenRect&) {}
void UnconfineCursor() {}
void WarpCursor(std::int32_t, std::int32_t) {}
CursorShape SetCursorShape(CursorShape) { return CursorShape::Arrow; }
void CaptureMouse() {}
void ReleaseMouse() {}
ScreenRect GetWindowRect() { return ScreenRect{}; }
void DestroyWindow() {}
void Quit(int) {}
std::uint32_t TickCount() { return SDL_GetTicks(); }

}  // namespace vellumor::platform

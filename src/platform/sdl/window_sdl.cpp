// The one window: start-up, creation with its first events, geometry, destruction.

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/sdl/layer.h"

namespace vellumor::platform {

namespace sdl {
namespace {

void DiscardLog(void*, int, SDL_LogPriority, const char*) {}

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

// Without a list of drivers SDL tries them all and ends up on an invisible
// offscreen one when no display can be opened (and the Wayland client library
// complains on stderr on the way). Name only the displays the environment
// points to, unless the user chose a driver.
bool ChooseVideoDrivers() {
  if (IsSet("SDL_VIDEODRIVER")) return true;
  std::string drivers;
  if (IsSet("DISPLAY")) drivers = "x11";
  if (IsSet("WAYLAND_DISPLAY")) drivers += drivers.empty() ? "wayland" : ",wayland";
  if (drivers.empty()) return false;
  SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  return true;
}

bool StartVideo(const WindowPlacement& placement) {
  SDL_LogSetOutputFunction(DiscardLog, nullptr);
  // SDL reads the X11 class (and the Wayland app id) from the environment.
  setenv("SDL_VIDEO_X11_WMCLASS", placement.className, 1);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", placement.className, 1);
  if (!ChooseVideoDrivers()) {
    SetFailure("no display: neither DISPLAY nor WAYLAND_DISPLAY is set");
    return false;
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::string reason = std::string("no display: ") + SDL_GetError();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
      if (IsSet(name)) reason += std::string(" (") + name + "=" + std::getenv(name) + ")";
    }
    SetFailure(reason);
    return false;
  }
  SDL_StopTextInput();
  return true;
}

}  // namespace

SDL_Window* OpenWindow(int depthBits) {
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
  SDL_Window* window = SDL_CreateWindow(layer.placement.title, layer.placement.x, layer.placement.y,
                                        layer.placement.width, layer.placement.height, layer.windowFlags);
  if (window != nullptr) layer.depthBits = depthBits;
  return window;
}

void SendSize() {
  int width = 0, height = 0;
  if (layer.window == nullptr) return;
  if ((SDL_GetWindowFlags(layer.window) & SDL_WINDOW_MINIMIZED) == 0) {
    SDL_GL_GetDrawableSize(layer.window, &width, &height);
    int unitsWide = 0, unitsHigh = 0;
    SDL_GetWindowSize(layer.window, &unitsWide, &unitsHigh);
    if (width > 0 && unitsWide > 0) layer.pixelScale = static_cast<double>(width) / unitsWide;
  }
  emulation.Dpi(static_cast<std::int32_t>(std::lround(layer.desktopDpi * layer.pixelScale)));
  emulation.Size(width, height);
}

// A window manager puts its frame around the client area, and the requested
// position and size are those of the whole window. The frame's extents are
// known only once the manager has taken the window, some events after it is
// shown; the first window events get the chance to fit it, once.
void FitOuterGeometry() {
  constexpr std::uint32_t kSettleMs = 2000;
  if (layer.frameFitted || layer.window == nullptr) return;
  if (TickCount() - layer.shownTick > kSettleMs) {
    layer.frameFitted = true;  // no frame came: there is no window manager
    return;
  }
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(layer.window, &top, &left, &bottom, &right) != 0) return;
  if (top == 0 && left == 0 && bottom == 0 && right == 0) return;
  layer.frameFitted = true;
  // SDL positions the client area, and moves the frame to put it there.
  SDL_SetWindowPosition(layer.window, layer.placement.x + left, layer.placement.y + top);
  SDL_SetWindowSize(layer.window, SDL_max(1, layer.placement.width - left - right),
                    SDL_max(1, layer.placement.height - top - bottom));
}

// SDL itself stays up until the process ends, as the display connection
// does: shutting it down unloads the GL driver and D-Bus, whose leftovers
// the leak checker would then report without a name.
void TearDown() {
  if (layer.glContext != nullptr) SDL_GL_DeleteContext(layer.glContext);
  if (layer.window != nullptr) SDL_DestroyWindow(layer.window);
  layer.glContext = nullptr;
  layer.window = nullptr;
  DestroyCursors();
}

}  // namespace sdl

using sdl::layer;

bool CreateMainWindow(const WindowPlacement& placement, WindowProcedure procedure) {
  SetFailure("");
  if (!sdl::StartVideo(placement)) return false;

  layer = sdl::Layer{};
  // SDL2 cannot warp the pointer on Wayland.
  emulation.Reset(sdl::PointerServices(SDL_strcmp(SDL_GetCurrentVideoDriver(), "wayland") != 0));
  layer.title = placement.title;
  layer.placement = placement;
  layer.placement.title = layer.title.c_str();
  layer.windowFlags =
      SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
  // The visual is fixed when the window is made, so a display without a
  // 32-bit depth buffer refuses the window itself; take the next best.
  for (int depth : {32, 24, 16}) {
    layer.window = sdl::OpenWindow(depth);
    if (layer.window != nullptr) break;
  }
  if (layer.window == nullptr) {
    SetFailure(std::string("cannot create the window: ") + SDL_GetError());
    sdl::TearDown();
    return false;
  }
  // Where the desktop's scale is the program's to apply, the window is made
  // as much larger, still hidden (and again so, should it be made anew).
  layer.desktopDpi = sdl::DesktopDpi(layer.window);
  if (layer.desktopDpi != kPlainDpi) {
    WindowPlacement& scaled = layer.placement;
    for (std::int32_t* length : {&scaled.x, &scaled.y, &scaled.width, &scaled.height}) {
      *length = ScaledToDpi(*length, layer.desktopDpi);
    }
    SDL_SetWindowPosition(layer.window, scaled.x, scaled.y);
    SDL_SetWindowSize(layer.window, scaled.width, scaled.height);
  }
  layer.windowId = SDL_GetWindowID(layer.window);
  SetCursorShape(CursorShape::Arrow);

  SetWindowProcedure(procedure);
  if (!Deliver({.kind = EventKind::Create})) {
    if (FailureReason()[0] == '\0') SetFailure("the window refused to be created");
    SetWindowProcedure(nullptr);
    sdl::TearDown();
    return false;
  }

  SDL_ShowWindow(layer.window);
  layer.shownTick = TickCount();
  sdl::FitOuterGeometry();
  sdl::SendSize();
  int x = 0, y = 0;
  SDL_GetWindowPosition(layer.window, &x, &y);
  emulation.Move(sdl::ToPixels(x), sdl::ToPixels(y));
  return true;
}

ScreenRect GetWindowRect() {
  ScreenRect rect;
  if (layer.window == nullptr) return rect;
  int x = 0, y = 0, width = 0, height = 0;
  int top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowPosition(layer.window, &x, &y);
  SDL_GetWindowSize(layer.window, &width, &height);
  if (SDL_GetWindowBordersSize(layer.window, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;
  }
  rect.left = sdl::ToPixels(x - left);
  rect.top = sdl::ToPixels(y - top);
  rect.right = sdl::ToPixels(x + width + right);
  rect.bottom = sdl::ToPixels(y + height + bottom);
  return rect;
}

void DestroyWindow() {
  if (layer.window == nullptr || layer.destroying) return;
  layer.destroying = true;
  emulation.Destroyed();
  Deliver({.kind = EventKind::Destroy});
  SDL_GL_DeleteContext(layer.glContext);
  SDL_DestroyWindow(layer.window);
  layer.glContext = nullptr;
  layer.window = nullptr;
  layer.destroying = false;
}

}  // namespace vellumor::platform

// The one window, a canvas in the page: creation with its first events, its
// size, destruction.

#include <emscripten/html5.h>

#include <cmath>

#include "platform/web/layer.h"
#include "platform/web/page.h"

namespace vellumor::platform {

namespace web {

Layer layer;

// The page lays the canvas out in CSS pixels (the window's 256 by 256 to
// begin with, larger when the person enlarges it); its drawing buffer gets
// as many pixels as the device shows there, so the picture is sharp. The
// ratio is the display's scale, and changes when the page is zoomed or
// moves to another screen: read every frame, it reaches the window as its
// DPI, before the size it brings.
void SendSize() {
  const CanvasBox box = ReadCanvasBox(layer.canvas.c_str());
  const double ratio = emscripten_get_device_pixel_ratio();
  if (ratio > 0.0) emulation.Dpi(static_cast<std::int32_t>(std::lround(kPlainDpi * ratio)));
  const auto width = static_cast<std::int32_t>(std::lround(box.width * ratio));
  const auto height = static_cast<std::int32_t>(std::lround(box.height * ratio));
  if (box.width > 0.0) layer.pixelScale = width / box.width;
  if (width == emulation.SentWidth() && height == emulation.SentHeight()) return;
  emscripten_set_canvas_element_size(layer.canvas.c_str(), width, height);
  emulation.Size(width, height);
}

}  // namespace web

using web::layer;

// A page has no screen position to give a window, and its size is the
// page's: the canvas's CSS box. The class names the canvas (its id) and the
// title becomes the page's.
bool CreateMainWindow(const WindowPlacement& placement, WindowProcedure procedure) {
  SetFailure("");
  layer = web::Layer{};
  emulation.Reset(web::PointerServices());
  layer.canvas = std::string("#") + placement.className;
  if (!web::CanvasExists(layer.canvas.c_str())) {
    SetFailure("no canvas: the page has no <canvas id=\"" + std::string(placement.className) + "\">");
    return false;
  }
  emscripten_set_window_title(placement.title);
  layer.open = true;
  SetCursorShape(CursorShape::Arrow);

  SetWindowProcedure(procedure);
  if (!Deliver({.kind = EventKind::Create})) {
    if (FailureReason()[0] == '\0') SetFailure("the window refused to be created");
    SetWindowProcedure(nullptr);
    layer.open = false;
    return false;
  }
  layer.createdTick = TickCount();
  web::ListenForEvents();
  web::SendSize();
  emulation.Move(0, 0);
  if (web::CanvasHasFocus(layer.canvas.c_str())) emulation.Focus(true, TickCount());
  return true;
}

ScreenRect GetWindowRect() {
  if (!layer.open) return ScreenRect{};
  return ScreenRect{0, 0, emulation.SentWidth(), emulation.SentHeight()};
}

void DestroyWindow() {
  if (!layer.open || layer.destroying) return;
  layer.destroying = true;
  emulation.Destroyed();
  Deliver({.kind = EventKind::Destroy});
  layer.open = false;
  layer.destroying = false;
}

}  // namespace vellumor::platform

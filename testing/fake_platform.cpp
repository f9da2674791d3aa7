#include "testing/fake_platform.h"

#include <string>

#include "platform/windows_emulation.h"

namespace vellumor::fake {

PlatformState state;

void Reset(platform::WindowProcedure procedure) {
  state = PlatformState{};
  state.procedure = procedure;
  state.windowAlive = procedure != nullptr;
}

bool Send(const platform::Event& event) { return state.procedure ? state.procedure(event) : false; }

std::vector<std::string> TakeLog() {
  std::vector<std::string> log;
  log.swap(state.log);
  return log;
}

void LoseFocus(bool captureFirst) {
  const platform::Event deactivate{.kind = platform::EventKind::Activate, .active = false};
  if (!captureFirst) Send(deactivate);
  if (state.captured) {
    state.captured = false;
    Send({.kind = platform::EventKind::CaptureLost});
  }
  if (captureFirst) Send(deactivate);
}

}  // namespace vellumor::fake

namespace vellumor {
namespace {

using fake::state;

const char* ShapeName(platform::CursorShape shape) {
  switch (shape) {
    case platform::CursorShape::Hidden: return "Hidden";
    case platform::CursorShape::Arrow: return "Arrow";
    case platform::CursorShape::SizeAll: return "SizeAll";
  }
  return "?";
}

std::string RectText(const platform::ScreenRect& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

platform::Event Make(platform::EventKind kind, std::int32_t x = 0, std::int32_t y = 0) {
  return {.kind = kind, .x = x, .y = y};
}

}  // namespace
}  // namespace vellumor

namespace vellumor::platform {

bool CreateMainWindow(const WindowPlacement& placement, WindowProcedure procedure) {
  state.log.push_back(std::string("CreateMainWindow ") + placement.className + " " + placement.title + " " +
                      std::to_string(placement.x) + " " + std::to_string(placement.y) + " " + std::to_string(placement.width) +
                      " " + std::to_string(placement.height));
  state.procedure = procedure;
  state.windowAlive = true;
  if (!procedure(Make(EventKind::Create))) {
    state.windowAlive = false;
    return false;
  }
  procedure(Make(EventKind::Size, state.clientWidth, state.clientHeight));
  procedure(Make(EventKind::Move, state.clientX, state.clientY));
  return true;
}

int RunMessageLoop() {
  for (const Event& event : state.script) {
    if (state.quit) break;
    fake::Send(event);
  }
  for (int i = 0; i < state.idleFrames && !state.quit; ++i) fake::Send(Make(EventKind::Paint));
  return state.quit ? state.exitCode : -1;
}

const char* FailureReason() {
  if (state.failGlContext) return "no OpenGL context";
  if (state.failFont) return "no font";
  return "failed";
}

bool CreateRenderingContext() {
  state.log.push_back("CreateRenderingContext");
  return !state.failGlContext;
}

std::uint32_t CreateFontLists(std::int32_t dpi) {
  state.log.push_back("CreateFontLists " + std::to_string(dpi));
  return state.failFont ? 0 : state.fontListBase;
}

void SwapBuffers() { state.log.push_back("SwapBuffers"); }

void ConfineCursor(const ScreenRect& rect) {
  state.log.push_back("ConfineCursor " + RectText(rect));
  state.confined = true;
  state.confinement = rect;
}

void UnconfineCursor() {
  state.log.push_back("UnconfineCursor");
  state.confined = false;
  if (state.emulated) emulation.EndRelativeMotion();
}

void WarpCursor(std::int32_t x, std::int32_t y) {
  state.log.push_back("WarpCursor " + std::to_string(x) + " " + std::to_string(y));
  state.cursorX = x;
  state.cursorY = y;
  if (state.emulated) emulation.WarpCursor(x, y);
}

CursorShape SetCursorShape(CursorShape shape) {
  state.log.push_back(std::string("SetCursorShape ") + ShapeName(shape));
  const CursorShape previous = state.shape;
  state.shape = shape;
  return previous;
}

void CaptureMouse() {
  state.log.push_back("CaptureMouse");
  state.captured = true;
  if (state.emulated) emulation.CaptureMouse();
}

void ReleaseMouse() {
  state.log.push_back("ReleaseMouse");
  if (state.emulated) return emulation.DropCapture();
  if (!state.captured) return;
  state.captured = false;
  fake::Send(Make(EventKind::CaptureLost));
}

ScreenRect GetWindowRect() {
  state.log.push_back("GetWindowRect");
  return state.windowRect;
}

void DestroyWindow() {
  state.log.push_back("DestroyWindow");
  if (!state.windowAlive) return;
  state.windowAlive = false;
  fake::Send(Make(EventKind::Destroy));
}

void Quit(int exitCode) {
  state.log.push_back("Quit " + std::to_string(exitCode));
  state.quit = true;
  state.exitCode = exitCode;
}

std::uint32_t TickCount() { return state.tick; }

}  // namespace vellumor::platform

#pragma once
// A fake platform layer for the shell's tests. It records every service call
// in a readable log, keeps the cursor and capture state those calls imply,
// and lets a test send events to the window procedure, including the nested
// CaptureLost that ReleaseMouse delivers before it returns.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vellumor::fake {

struct PlatformState {
  platform::WindowProcedure procedure = nullptr;
  bool windowAlive = false;
  bool captured = false;
  bool confined = false;
  platform::ScreenRect confinement{};
  platform::CursorShape shape = platform::CursorShape::Arrow;
  std::int32_t cursorX = 0;
  std::int32_t cursorY = 0;
  platform::ScreenRect windowRect{100, 100, 356, 356};
  std::uint32_t tick = 0;
  bool quit = false;
  int exitCode = 0;
  std::int32_t clientWidth = 240;  // first Size and Move sent by CreateMainWindow
  std::int32_t clientHeight = 217;
  std::int32_t clientX = 108;
  std::int32_t clientY = 131;
  bool failGlContext = false;
  bool failFont = false;
  std::uint32_t fontListBase = 1000;
  // The shell's pointer services reach the shared emulation of Windows too,
  // as in the SDL and web layers, which then holds the capture.
  bool emulated = false;
  std::vector<platform::Event> script;  // what RunMessageLoop dispatches, in order
  int idleFrames = 0;                   // Paint events RunMessageLoop sends after the script
  std::vector<std::string> log;
};

extern PlatformState state;

// Back to a fresh state with this procedure attached (no Create is sent).
void Reset(platform::WindowProcedure procedure = nullptr);
// Delivers an event to the attached procedure; its result.
bool Send(const platform::Event& event);
// The log since the last call, then cleared.
std::vector<std::string> TakeLog();
// Another application takes the focus: the window is deactivated and, if it
// held the mouse capture, loses it, in either order (platforms differ).
void LoseFocus(bool captureFirst = false);

}  // namespace vellumor::fake

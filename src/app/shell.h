#pragma once
// The window procedure and the pointer state machine behind mouse look and drag.

#include <cstdint>

#include "platform/platform.h"

enum class MouseMode : std::int32_t { None = 0, Look = 1, Drag = 2 };

// The shell's window state; one instance, zeroed at start-up.
struct ShellState {
  std::uint32_t fontListBase = 0;
  std::int32_t clientX = 0;  // screen position of the client area
  std::int32_t clientY = 0;
  std::int32_t clientWidth = 0;
  std::int32_t clientHeight = 0;
  std::int32_t wheelAccumulator = 0;
  MouseMode mouseMode = MouseMode::None;
  bool pointerCaptured = false;
  platform::CursorShape savedCursor = platform::CursorShape::Arrow;
  platform::ScreenRect windowRect{};
  std::int32_t lookCentreX = 0;
  std::int32_t lookCentreY = 0;
  std::int32_t dragStartX = 0;
  std::int32_t dragStartY = 0;
};

extern ShellState shell;

bool WindowProc(const platform::Event& event);

// Context and font lists, then the first view set-up; false when either is missing.
bool CreateGlContext();

void GrabPointer();     // take the pointer for look mode
void FreePointer();     // unclip and show the saved cursor; keeps mode and capture
void LeaveLookMode();   // release the capture (if held), then leave look mode

#pragma once
// The pointer state machine: free, dragging (a left-button drag pans the
// orthographic views) or looking (the pointer hidden, confined and put back
// at the window's centre after every move). The pointer keeps its own state
// (shell.pointer) and tells the platform what to do with the cursor; what a
// move or a wheel turn does to the scene it hands back to the window
// procedure.

#include <cstdint>

#include "app/shell_state.h"

namespace vellumor {

void GrabPointer();    // take the pointer for look mode
void FreePointer();    // unclip and show the saved cursor; keeps mode and capture
void EnterLookMode();  // look mode with the pointer taken, unless it holds it already
void LeaveLookMode();  // release the capture (if held), then leave look mode

// What a pointer move asks of the scene.
struct PointerMotion {
  enum class Kind { Nothing, Look, Pan } kind = Kind::Nothing;
  std::int32_t dx = 0;  // Look: pixels from the look centre; Pan: from the drag's start
  std::int32_t dy = 0;
};

// The events the window procedure hands on; x, y are client coordinates.
bool OnLeftButtonDown(std::int32_t x, std::int32_t y);  // true when a drag began
void OnLeftButtonUp();
PointerMotion OnPointerMove(std::int32_t x, std::int32_t y);
int OnWheel(std::int32_t delta);  // zoom steps to take: +1 out, -1 in, or 0
void OnCaptureLost();
void OnActivate(bool active);
void OnClientAreaChanged();  // after a Move or Size: look mode follows the window

}  // namespace vellumor

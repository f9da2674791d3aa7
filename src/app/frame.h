#pragma once
// One frame: clock, scene update, view, text overlay, held-key actions.

#include <cstdint>

namespace vellumor {

struct FrameClock {
  std::uint32_t startTick = 0;       // tick count at start-up
  std::uint32_t fpsWindowStart = 0;  // ms since start-up when the counting window opened
  double lastElapsed = 0.0;          // seconds, previous frame
  std::int32_t frameCount = 0;       // frames in the open window
  std::int32_t shownFps = 0;         // frames in the last closed window
};

struct HudCursor {
  std::int32_t hudColumn = 0;
  std::int32_t hudLine = 0;
};

extern FrameClock frameClock;
extern HudCursor hudCursor;
// First of the 256 display lists that hold the glyphs of character codes 0 to 255.
extern std::uint32_t fontListBase;

void StartFrameClock();
void InitView();
void RenderFrame();
// Draws "label:value" at the raster position and moves to the next line.
void PrintValue(const char* label, double value);

}  // namespace vellumor

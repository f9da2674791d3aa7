#pragma once
// One frame: clock, scene update, view, text overlay, held-key actions.

// Its clock and the overlay's text cursor are shell.frameClock and shell.textOverlay.

namespace vellumor {

void StartFrameClock();
void InitView();
void RenderFrame();
// Draws "label:value" at the raster position and moves to the next line.
void PrintValue(const char* label, double value);

}  // namespace vellumor

#pragma once
// What the frame benchmark adds to the SDL layer: the window at a size of its
// choosing, frames without the display's pacing, and the renderer's name.

#include <string>

namespace vellumor::benchplatform {

// Opens the viewer's window through the SDL layer, the window procedure's
// Create included, and lets frames run unpaced. False, with FailureReason, if it cannot.
bool OpenWindow();
// Gives the window this drawable size and delivers it to the window
// procedure; false if the window system refuses.
bool Resize(int width, int height);
// The GL renderer string of the current context.
std::string Renderer();

}  // namespace vellumor::benchplatform

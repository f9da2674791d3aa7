#pragma once
// What the frame benchmark adds to the platform contract: a window of its
// choosing, resized between benchmarks.

#include <string>

#include "platform/platform.h"

namespace vellumor::benchplatform {

// Opens the SDL window with a double-buffered GL surface; no context yet.
bool OpenWindow(int width, int height);
// Gives the window this drawable size; false if the window system refuses.
bool Resize(int width, int height);
// The GL renderer string of the current context.
std::string Renderer();

}  // namespace vellumor::benchplatform

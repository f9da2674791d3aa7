#pragma once

#include <cstdint>

namespace vellumor {

// The window's OpenGL set-up: the rendering context, the font's display lists,
// then the view's first mode. False when the context or the font is missing.
bool CreateGlContext();

// The display's scale changed: the font lists are made again at the new
// size, and the next frame draws with them. The old ones stay when new ones
// cannot be made.
void OnDpiChanged(std::int32_t dpi);

}  // namespace vellumor

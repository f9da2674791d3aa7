#pragma once

namespace vellumor {

// The window's OpenGL set-up: the rendering context, the font's display lists,
// then the view's first mode. False when the context or the font is missing.
bool CreateGlContext();

}  // namespace vellumor

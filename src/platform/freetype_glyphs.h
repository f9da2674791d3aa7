#pragma once
// The overlay's font rendered by FreeType: the bold sans-serif face at 11
// pixels at a scale of 1 (as many more as the display's scale), one
// monochrome glyph per Latin-1 code. The SDL layer renders it at
// start; the web build's table is generated from it at build time.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/glyph_lists.h"
#include "platform/layer_shared.h"

namespace vellumor::platform {

// Legible at the overlay's 12-pixel line pitch without lines touching.
inline constexpr unsigned kGlyphPixelSize = 11;

// The glyphs' bits point into `bits`: not copyable.
struct RenderedGlyphs {
  GlyphBitmap glyphs[kGlyphCount];
  std::vector<std::uint8_t> bits;

  RenderedGlyphs() = default;
  RenderedGlyphs(const RenderedGlyphs&) = delete;
  RenderedGlyphs& operator=(const RenderedGlyphs&) = delete;
};

// Renders codes 0..255 of face `index` of the font file at `pixelSize`
// pixels. False, with a one-line reason, when FreeType cannot start or
// cannot read the file.
bool RenderGlyphs(const std::string& path, int index, unsigned pixelSize, RenderedGlyphs& out, std::string& reason);

}  // namespace vellumor::platform

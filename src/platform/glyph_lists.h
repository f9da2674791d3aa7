#pragma once
// The font's glyphs as glBitmap takes them, and the display lists that draw
// them: what the SDL layer renders at start and the web build compiles in.

#include <cstdint>
#include <span>

namespace vellumor::platform {

// One character's glyph. Rows run bottom-up, most significant bit first, each
// row a whole number of bytes. A glyph with no bitmap and no advance (a
// control code, or one the face cannot render) gets an empty list.
struct GlyphBitmap {
  std::int32_t width = 0;  // pixels
  std::int32_t rows = 0;
  float xOrigin = 0.0f;    // glBitmap's xorig and yorig: the raster position's place in the bitmap
  float yOrigin = 0.0f;
  float advance = 0.0f;    // how far the raster position moves right after the glyph
  const std::uint8_t* bits = nullptr;
};

// One display list per glyph, the list of glyphs[c] drawing it at the raster
// position and advancing. Returns the first list, or 0 when GL has no room.
std::uint32_t CompileGlyphLists(std::span<const GlyphBitmap> glyphs);

}  // namespace vellumor::platform

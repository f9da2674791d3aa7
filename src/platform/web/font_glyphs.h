#pragma once
// The overlay's font for the web build: the desktop's glyphs (DejaVu Sans
// Bold at 11 pixels, rendered by FreeType) compiled in as a table that
// tools/font_table/font_glyphs_tool generates, since the browser has neither
// FreeType nor the Debian font. font_glyphs.cpp and font_lists.cpp build with
// the web layer's sources; the glyph-list compiler comes with vellumor_webgl.

#include <cstdint>

#include "platform/glyph_lists.h"
#include "platform/layer_shared.h"

namespace vellumor::webgl {

// Generated: glyph c of the table draws character code c (Latin-1).
extern const platform::GlyphBitmap kFontGlyphs[platform::kGlyphCount];

// Compiles the table into kGlyphCount display lists of the subset, the list
// of code c being the first plus c, each a glBitmap that advances the raster
// position as the desktop's do. Call with the renderer started. Returns the
// first list, or 0 when there is no room for them (the caller reports
// platform::kNoRoomForGlyphs).
std::uint32_t CompileGlyphLists();

}  // namespace vellumor::webgl

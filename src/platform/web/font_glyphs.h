#pragma once
// The overlay's font for the web build: the desktop's glyphs (DejaVu Sans
// Bold at 11 pixels at a scale of 1, rendered by FreeType) compiled in as a table that
// tools/font_table/font_glyphs_tool generates, since the browser has neither
// FreeType nor the Debian font. font_glyphs.cpp and font_lists.cpp build with
// the web layer's sources; the glyph-list compiler comes with vellumor_webgl.

#include <cstdint>

#include "platform/glyph_lists.h"
#include "platform/layer_shared.h"

namespace vellumor::webgl {

// The displays the table has glyphs for: device pixel ratios 1, 1.5, 2 and
// 3, the font at 11 pixels times the ratio.
inline constexpr int kFontTableCount = 4;
inline constexpr std::int32_t kFontTableDpis[kFontTableCount] = {96, 144, 192, 288};

// Generated: glyph c of table t draws character code c (Latin-1) on a
// display of kFontTableDpis[t].
extern const platform::GlyphBitmap kFontGlyphs[kFontTableCount][platform::kGlyphCount];

// The table for a display of `dpi`: the one of the nearest DPI.
int FontTableFor(std::int32_t dpi);

// Compiles that table into kGlyphCount display lists of the subset, the list
// of code c being the first plus c, each a glBitmap that advances the raster
// position as the desktop's do. Call with the renderer started. Returns the
// first list, or 0 when there is no room for them (the caller reports
// platform::kNoRoomForGlyphs).
std::uint32_t CompileGlyphLists(std::int32_t dpi);

}  // namespace vellumor::webgl

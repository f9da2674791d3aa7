#include "platform/web/font_glyphs.h"

#include <cstdlib>

namespace vellumor::webgl {

int FontTableFor(std::int32_t dpi) {
  int nearest = 0;
  for (int t = 1; t < kFontTableCount; ++t) {
    if (std::abs(kFontTableDpis[t] - dpi) < std::abs(kFontTableDpis[nearest] - dpi)) nearest = t;
  }
  return nearest;
}

std::uint32_t CompileGlyphLists(std::int32_t dpi) { return platform::CompileGlyphLists(kFontGlyphs[FontTableFor(dpi)]); }

}  // namespace vellumor::webgl

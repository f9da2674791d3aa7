#include "platform/web/font_glyphs.h"

namespace vellumor::webgl {

std::uint32_t CompileGlyphLists() { return platform::CompileGlyphLists(kFontGlyphs); }

}  // namespace vellumor::webgl

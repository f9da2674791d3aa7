// The system font: fontconfig's bold sans-serif, rasterised by FreeType into
// one glBitmap display list per Latin-1 character code.

#include <fontconfig/fontconfig.h>

#include <string>

#include "platform/freetype_glyphs.h"
#include "platform/glyph_lists.h"
#include "platform/sdl/layer.h"

namespace vellumor::platform {

namespace sdl {
namespace {

struct FontFile {
  std::string path;
  int index = 0;
};

bool FindSystemFont(FontFile& font) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return false;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:bold"));
  bool found = false;
  if (pattern != nullptr) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* file = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      font.path = reinterpret_cast<const char*>(file);
      if (FcPatternGetInteger(match, FC_INDEX, 0, &font.index) != FcResultMatch) font.index = 0;
      found = true;
    }
    if (match != nullptr) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return found;
}

}  // namespace
}  // namespace sdl

std::uint32_t CreateFontLists(std::int32_t dpi) {
  if (!BeforeFontLists(sdl::layer.glContext != nullptr)) return 0;
  sdl::FontFile font;
  if (!sdl::FindSystemFont(font)) {
    SetFailure("no font: fontconfig finds no sans-serif font (install fonts-dejavu-core)");
    return 0;
  }
  RenderedGlyphs rendered;
  std::string reason;
  const auto pixelSize = static_cast<unsigned>(ScaledToDpi(kGlyphPixelSize, dpi));
  if (!RenderGlyphs(font.path, font.index, pixelSize, rendered, reason)) {
    SetFailure(reason);
    return 0;
  }
  const std::uint32_t base = CompileGlyphLists(rendered.glyphs);
  if (base == 0) SetFailure(kNoRoomForGlyphs);
  return base;
}

}  // namespace vellumor::platform

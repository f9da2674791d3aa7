// The system font: fontconfig's bold sans-serif, rasterised by FreeType into
// one glBitmap display list per Latin-1 character code.

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>
#include <vector>

#include "platform/sdl/layer.h"

namespace vellumor::platform {

namespace sdl {
namespace {

// Legible at the overlay's 12-pixel line pitch without lines touching.
constexpr FT_UInt kPixelSize = 11;

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

bool IsControlCode(int code) { return code < 0x20 || (code >= 0x7F && code < 0xA0); }

bool PixelSet(const FT_Bitmap& bitmap, const unsigned char* row, unsigned x) {
  if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x >> 3] >> (7 - (x & 7))) & 1;
  if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) return row[x] >= 128;
  return false;
}

// FreeType's rows run top-down; glBitmap's run bottom-up, most significant
// bit first, each row a whole number of bytes (unpack alignment 1).
std::vector<GLubyte> BottomUpBits(const FT_Bitmap& bitmap) {
  const unsigned rowBytes = (bitmap.width + 7) / 8;
  std::vector<GLubyte> bits(static_cast<std::size_t>(rowBytes) * bitmap.rows, 0);
  const unsigned char* top = bitmap.buffer;
  if (bitmap.pitch < 0) top -= static_cast<std::ptrdiff_t>(bitmap.pitch) * (bitmap.rows - 1);
  for (unsigned y = 0; y < bitmap.rows; ++y) {
    const unsigned char* row = top + static_cast<std::ptrdiff_t>(bitmap.pitch) * y;
    GLubyte* out = &bits[static_cast<std::size_t>(bitmap.rows - 1 - y) * rowBytes];
    for (unsigned x = 0; x < bitmap.width; ++x) {
      if (PixelSet(bitmap, row, x)) out[x >> 3] |= static_cast<GLubyte>(0x80 >> (x & 7));
    }
  }
  return bits;
}

// The body of one glyph's list: its bitmap at the raster position, then the
// advance. A glyph FreeType cannot render leaves the list empty.
void CompileGlyph(FT_Face face, FT_ULong code) {
  if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) return;
  const FT_GlyphSlot glyph = face->glyph;
  const FT_Bitmap& bitmap = glyph->bitmap;
  const GLfloat advance = static_cast<GLfloat>(glyph->advance.x) / 64.0f;
  if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.buffer == nullptr) {
    glBitmap(0, 0, 0.0f, 0.0f, advance, 0.0f, nullptr);
    return;
  }
  std::vector<GLubyte> bits = BottomUpBits(bitmap);
  glBitmap(static_cast<GLsizei>(bitmap.width), static_cast<GLsizei>(bitmap.rows),
           static_cast<GLfloat>(-glyph->bitmap_left),
           static_cast<GLfloat>(static_cast<int>(bitmap.rows) - glyph->bitmap_top), advance, 0.0f,
           bits.data());
}

}  // namespace
}  // namespace sdl

std::uint32_t CreateFontLists() {
  if (!BeforeFontLists(sdl::layer.glContext != nullptr)) return 0;
  sdl::FontFile font;
  if (!sdl::FindSystemFont(font)) {
    SetFailure("no font: fontconfig finds no sans-serif font (install fonts-dejavu-core)");
    return 0;
  }
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    SetFailure("no font: FreeType cannot start");
    return 0;
  }
  FT_Face face = nullptr;
  if (FT_New_Face(library, font.path.c_str(), font.index, &face) != 0 ||
      FT_Set_Pixel_Sizes(face, 0, sdl::kPixelSize) != 0) {
    if (face != nullptr) FT_Done_Face(face);
    FT_Done_FreeType(library);
    SetFailure("no font: FreeType cannot read " + font.path);
    return 0;
  }

  const GLuint base = glGenLists(kGlyphCount);
  if (base == 0) {
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    SetFailure(kNoRoomForGlyphs);
    return 0;
  }
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
  for (int code = 0; code < kGlyphCount; ++code) {
    glNewList(base + static_cast<GLuint>(code), GL_COMPILE);
    if (!sdl::IsControlCode(code)) sdl::CompileGlyph(face, static_cast<FT_ULong>(code));
    glEndList();
  }
  glPopClientAttrib();
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return base;
}

}  // namespace vellumor::platform

#include "platform/freetype_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>

namespace vellumor::platform {

namespace {

bool IsControlCode(int code) { return code < 0x20 || (code >= 0x7F && code < 0xA0); }

bool PixelSet(const FT_Bitmap& bitmap, const unsigned char* row, unsigned x) {
  if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x >> 3] >> (7 - (x & 7))) & 1;
  if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) return row[x] >= 128;
  return false;
}

// FreeType's rows run top-down; glBitmap's run bottom-up, most significant
// bit first, each row a whole number of bytes.
void AppendBottomUpBits(const FT_Bitmap& bitmap, std::vector<std::uint8_t>& bits) {
  const unsigned rowBytes = (bitmap.width + 7) / 8;
  const std::size_t start = bits.size();
  bits.resize(start + static_cast<std::size_t>(rowBytes) * bitmap.rows, 0);
  const unsigned char* top = bitmap.buffer;
  if (bitmap.pitch < 0) top -= static_cast<std::ptrdiff_t>(bitmap.pitch) * (bitmap.rows - 1);
  for (unsigned y = 0; y < bitmap.rows; ++y) {
    const unsigned char* row = top + static_cast<std::ptrdiff_t>(bitmap.pitch) * y;
    std::uint8_t* out = &bits[start + static_cast<std::size_t>(bitmap.rows - 1 - y) * rowBytes];
    for (unsigned x = 0; x < bitmap.width; ++x) {
      if (PixelSet(bitmap, row, x)) out[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
    }
  }
}

constexpr std::size_t kNoBits = ~std::size_t{0};

// One glyph, and where its bits start in `bits` (the vector still grows, so
// pointers into it come last). A glyph FreeType cannot render stays empty.
std::size_t RenderGlyph(FT_Face face, int code, GlyphBitmap& glyph, std::vector<std::uint8_t>& bits) {
  if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
    return kNoBits;
  }
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
  if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.buffer == nullptr) return kNoBits;
  glyph.width = static_cast<std::int32_t>(bitmap.width);
  glyph.rows = static_cast<std::int32_t>(bitmap.rows);
  glyph.xOrigin = static_cast<float>(-slot->bitmap_left);
  glyph.yOrigin = static_cast<float>(static_cast<int>(bitmap.rows) - slot->bitmap_top);
  const std::size_t start = bits.size();
  AppendBottomUpBits(bitmap, bits);
  return start;
}

}  // namespace

bool RenderGlyphs(const std::string& path, int index, unsigned pixelSize, RenderedGlyphs& out, std::string& reason) {
  for (GlyphBitmap& glyph : out.glyphs) glyph = GlyphBitmap{};
  out.bits.clear();
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    reason = "no font: FreeType cannot start";
    return false;
  }
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), index, &face) != 0 || FT_Set_Pixel_Sizes(face, 0, pixelSize) != 0) {
    if (face != nullptr) FT_Done_Face(face);
    FT_Done_FreeType(library);
    reason = "no font: FreeType cannot read " + path;
    return false;
  }
  std::size_t starts[kGlyphCount];
  for (int code = 0; code < kGlyphCount; ++code) {
    starts[code] = IsControlCode(code) ? kNoBits : RenderGlyph(face, code, out.glyphs[code], out.bits);
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  for (int code = 0; code < kGlyphCount; ++code) {
    if (starts[code] != kNoBits) out.glyphs[code].bits = out.bits.data() + starts[code];
  }
  return true;
}

}  // namespace vellumor::platform

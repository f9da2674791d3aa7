#include "platform/glyph_lists.h"

#include <GL/gl.h>

namespace vellumor::platform {

std::uint32_t CompileGlyphLists(std::span<const GlyphBitmap> glyphs) {
  const GLuint base = glGenLists(static_cast<GLsizei>(glyphs.size()));
  if (base == 0) return 0;
  // The bitmaps' rows are packed to whole bytes and nothing more.
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
  GLuint list = base;
  for (const GlyphBitmap& glyph : glyphs) {
    glNewList(list++, GL_COMPILE);
    if (glyph.advance != 0.0f || glyph.bits != nullptr) {
      glBitmap(glyph.width, glyph.rows, glyph.xOrigin, glyph.yOrigin, glyph.advance, 0.0f, glyph.bits);
    }
    glEndList();
  }
  glPopClientAttrib();
  return base;
}

}  // namespace vellumor::platform

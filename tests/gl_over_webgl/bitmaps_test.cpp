// The subset's text path: the raster position, glBitmap and the display
// lists the font is made of. A bitmap reaches the backend as quads in window
// pixels; the tests read back which pixels they cover.

#include <GL/gl.h>

#include <cmath>
#include <set>
#include <utility>

#include "platform/layer_shared.h"
#include "platform/web/font_glyphs.h"
#include "subset_fixture.h"

namespace vellumor::webgl {
namespace {

using Pixels = std::set<std::pair<int, int>>;

class BitmapTest : public SubsetTest {
 protected:
  // The overlay's set-up in a 256 by 256 window: one unit is one pixel.
  void SetUp() override {
    SubsetTest::SetUp();
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 256, 0, 256, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }

  // The window pixels the drawn quads cover: each quad is two triangles, the
  // first from its lower-left corner to its upper-right one.
  Pixels Covered() const {
    Pixels pixels;
    const auto triangles = Shapes<3>(Primitive::Triangles);
    auto window = [this](const ShadedVertex& v, int axis) {
      return int(std::lround((v.position[axis] + 1.0) * 0.5 * (axis ? backend.size.height : backend.size.width)));
    };
    for (std::size_t t = 0; t < triangles.size(); t += 2) {
      for (int y = window(triangles[t][0], 1); y < window(triangles[t][2], 1); ++y) {
        for (int x = window(triangles[t][0], 0); x < window(triangles[t][2], 0); ++x) pixels.insert({x, y});
      }
    }
    return pixels;
  }
};

// Two rows: the bottom one 1.1 and the top one .11 (most significant bit first).
const GLubyte kTwoRows[] = {0xa0, 0x60};

// A bitmap covers its set bits, placed so that its origin lies on the raster
// position; after drawing, the raster position moves by the advance, ready
// for the next glyph.
TEST_F(BitmapTest, BitmapsCoverTheirBitsFromTheRasterPosition) {
  glRasterPos2i(10, 20);
  glBitmap(3, 2, 1, 1, 7, 0, kTwoRows);
  glBitmap(3, 2, 0, 0, 0, 0, kTwoRows);
  glFinish();
  EXPECT_EQ(Covered(), (Pixels{{9, 19}, {11, 19}, {10, 20}, {11, 20}, {17, 20}, {19, 20}, {18, 21}, {19, 21}}));
}

// Rows are padded to the unpack alignment (OpenGL starts at 4 bytes).
TEST_F(BitmapTest, RowsFollowTheUnpackAlignment) {
  const GLubyte padded[] = {0x80, 0, 0, 0, 0x40};
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glRasterPos2i(0, 0);
  glBitmap(2, 2, 0, 0, 0, 0, padded);
  glFinish();
  EXPECT_EQ(Covered(), (Pixels{{0, 0}, {1, 1}}));
}

TEST_F(BitmapTest, ColourIsLatchedByTheRasterPosition) {
  glEnable(GL_BLEND);
  glColor4d(1, 1, 1, 0.5);
  glRasterPos2i(10, 20);
  glColor3d(1, 0, 0);
  glBitmap(3, 2, 0, 0, 0, 0, kTwoRows);
  glFinish();
  ASSERT_EQ(backend.draws.size(), 1u);
  EXPECT_VEC4_NEAR(backend.draws[0].vertices[0].color, 1, 1, 1, 0.5);
  EXPECT_TRUE(backend.draws[0].state.blend);
}

// The raster position goes through the matrices and the viewport, and a
// bitmap lands in window pixels whatever the viewport.
TEST_F(BitmapTest, RasterPositionIsTransformed) {
  glViewport(100, 50, 128, 128);
  glTranslated(8, 4, 0);
  glRasterPos2i(10, 20);  // (18, 24) of 256 in a 128-pixel viewport at (100, 50)
  glBitmap(3, 2, 0, 0, 0, 0, kTwoRows);
  glFinish();
  EXPECT_EQ(Covered().begin()->first, 109);
  EXPECT_EQ(Covered().begin()->second, 62);
  EXPECT_EQ(backend.draws[0].state.viewport[2], 256);
}

// Outside the clip volume the raster position is invalid and bitmaps draw
// nothing: a window too short for the overlay's lower lines shows none of them.
TEST_F(BitmapTest, InvalidRasterPositionDrawsNothing) {
  glRasterPos2i(10, 300);
  glBitmap(3, 2, 0, 0, 7, 0, kTwoRows);
  glFinish();
  EXPECT_TRUE(backend.draws.empty());
}

// The overlay's way: the font's lists through glListBase and glCallLists. The
// expected pixels are read from the generated table bit by bit.
TEST_F(BitmapTest, FontListsDrawTheTableGlyphsSideBySide) {
  const GLuint base = CompileGlyphLists(platform::kPlainDpi);
  ASSERT_NE(base, 0u);
  glRasterPos2i(5, 100);
  glListBase(base);
  glCallLists(2, GL_UNSIGNED_BYTE, "Hi");
  glFinish();

  Pixels expected;
  double penX = 5;
  for (unsigned char code : {'H', 'i'}) {
    const platform::GlyphBitmap& g = kFontGlyphs[0][code];
    const int rowBytes = (g.width + 7) / 8;
    for (int y = 0; y < g.rows; ++y) {
      for (int x = 0; x < g.width; ++x) {
        if (g.bits[y * rowBytes + x / 8] & (0x80 >> (x % 8))) {
          expected.insert({int(std::floor(penX - g.xOrigin)) + x, int(std::floor(100 - g.yOrigin)) + y});
        }
      }
    }
    penX += g.advance;
  }
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(Covered(), expected);
}

}  // namespace
}  // namespace vellumor::webgl

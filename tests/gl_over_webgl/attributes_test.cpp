// The subset's attribute stack: glPopAttrib gives back exactly the groups
// its glPushAttrib named, each with the enable flags OpenGL files under it.

#include <GL/gl.h>

#include "gl_over_webgl/context.h"
#include "subset_fixture.h"

namespace vellumor::webgl {
namespace {

// The state the test changes between push and pop, one bit each.
constexpr unsigned kDepthTest = 1 << 0;
constexpr unsigned kBlend = 1 << 1;
constexpr unsigned kLighting = 1 << 2;
constexpr unsigned kPolygonMode = 1 << 3;
constexpr unsigned kColor = 1 << 4;
constexpr unsigned kBlendFunc = 1 << 5;
constexpr unsigned kDepthMask = 1 << 6;
constexpr unsigned kPointSize = 1 << 7;
constexpr unsigned kViewport = 1 << 8;
constexpr unsigned kMatrixMode = 1 << 9;
constexpr unsigned kListBase = 1 << 10;
constexpr unsigned kEverything = (1 << 11) - 1;

struct AttribCase {
  const char* name;
  GLbitfield mask;
  unsigned restored;
};

void PrintTo(const AttribCase& c, std::ostream* out) { *out << c.name; }

const AttribCase kCases[] = {
    {"enable", GL_ENABLE_BIT, kDepthTest | kBlend | kLighting},
    {"polygon", GL_POLYGON_BIT, kPolygonMode},
    {"current", GL_CURRENT_BIT, kColor},
    {"lighting", GL_LIGHTING_BIT, kLighting},
    {"color buffer", GL_COLOR_BUFFER_BIT, kBlend | kBlendFunc},
    {"depth buffer", GL_DEPTH_BUFFER_BIT, kDepthTest | kDepthMask},
    {"point", GL_POINT_BIT, kPointSize},
    {"viewport", GL_VIEWPORT_BIT, kViewport},
    {"transform", GL_TRANSFORM_BIT, kMatrixMode},
    {"list", GL_LIST_BIT, kListBase},
    // The frustum's and the ground overlay's: the colour and blend function they set stay.
    {"polygon and enable", GL_POLYGON_BIT | GL_ENABLE_BIT, kDepthTest | kBlend | kLighting | kPolygonMode},
    {"all", GL_ALL_ATTRIB_BITS, kEverything},
};

class AttribTest : public SubsetTest, public ::testing::WithParamInterface<AttribCase> {};

TEST_P(AttribTest, PopRestoresTheNamedGroupsOnly) {
  const AttribCase& c = GetParam();
  glPushAttrib(c.mask);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glEnable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glColor3d(1, 0, 0);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  glPointSize(2);
  glViewport(1, 2, 3, 4);
  glMatrixMode(GL_PROJECTION);
  glListBase(7);
  glPopAttrib();

  const State& s = TheContext().state;
  const unsigned changed = (s.enables.depthTest ? kDepthTest : 0) | (s.enables.blend ? kBlend : 0) |
                           (s.enables.lighting ? kLighting : 0) | (s.polygonFront == GL_LINE ? kPolygonMode : 0) |
                           (s.color[1] == 0 ? kColor : 0) |
                           (s.blendSrc == GL_SRC_ALPHA ? kBlendFunc : 0) | (!s.depthMask ? kDepthMask : 0) |
                           (s.pointSize == 2 ? kPointSize : 0) | (s.viewport[0] == 1 ? kViewport : 0) |
                           (s.matrixMode == GL_PROJECTION ? kMatrixMode : 0) | (s.listBase == 7 ? kListBase : 0);
  EXPECT_EQ(changed, kEverything & ~c.restored);
}

INSTANTIATE_TEST_SUITE_P(Subset, AttribTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
}  // namespace vellumor::webgl

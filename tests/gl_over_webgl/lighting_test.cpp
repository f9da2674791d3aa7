// The subset's lighting: OpenGL 1.1's per-vertex equation with the default
// material (ambient 0.2, diffuse 0.8, alpha 1) and light model ambient 0.2,
// so a lit vertex is 0.04 + 0.8 * max(N.L, 0) per component under a white
// light. Every expected colour is worked out by hand from that.

#include <GL/gl.h>

#include "subset_fixture.h"

namespace vellumor::webgl {
namespace {

// The terrain's light: positional, one unit behind the eye, placed with an
// identity modelview.
void TerrainLight() {
  const GLfloat position[4] = {0, 0, 1, 1};
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glLightfv(GL_LIGHT0, GL_POSITION, position);
}

struct LightingCase {
  const char* name;
  void (*setUp)();
  double normal[3];
  double vertex[3];
  double rgba[4];
};

void PrintTo(const LightingCase& c, std::ostream* out) { *out << c.name; }

const LightingCase kCases[] = {
    {"facing the light", TerrainLight, {0, 0, 1}, {0, 0, -1}, {0.84, 0.84, 0.84, 1}},
    {"a short normal is not normalised", TerrainLight, {0, 0, 0.5}, {0, 0, -1}, {0.44, 0.44, 0.44, 1}},
    {"turned away keeps the ambient only", TerrainLight, {0, 0, -1}, {0, 0, -1}, {0.04, 0.04, 0.04, 1}},
    // The light is at (0, 0, 1), so from (3, 0, -3) it lies along (-3, 0, 4) / 5.
    {"a positional light is seen from the vertex", TerrainLight, {0, 0, 1}, {3, 0, -3}, {0.68, 0.68, 0.68, 1}},
    {"a directional light is seen along its direction",
     [] {
       const GLfloat direction[4] = {0, 0, 1, 0};
       TerrainLight();
       glLightfv(GL_LIGHT0, GL_POSITION, direction);
     },
     {0, 0, 1}, {3, 0, -3}, {0.84, 0.84, 0.84, 1}},
    // Placed with the modelview of the call: (0, 0, -4) in the eye, behind the vertex at (0, 0, -1).
    {"the light is placed by the modelview of its call",
     [] { glTranslated(0, 0, -5); TerrainLight(); glLoadIdentity(); }, {0, 0, 1}, {0, 0, -1}, {0.04, 0.04, 0.04, 1}},
    // Rotating 90 degrees about y takes (-1, 0, 0) to (0, 0, 1), towards the light.
    {"the normal turns with the modelview", [] { TerrainLight(); glRotated(90, 0, 1, 0); }, {-1, 0, 0}, {0, 0, 0},
     {0.84, 0.84, 0.84, 1}},
    {"the view's mirror of z turns the normal too", [] { TerrainLight(); glScaled(1, 1, -1); }, {0, 0, -1}, {0, 0, 1},
     {0.84, 0.84, 0.84, 1}},
    {"a disabled light adds nothing", [] { TerrainLight(); glDisable(GL_LIGHT0); }, {0, 0, 1}, {0, 0, -1},
     {0.04, 0.04, 0.04, 1}},
    // Lighting ignores the current colour: the terrain's blue does not show.
    {"lit colour is the material's", [] { TerrainLight(); glColor3d(0, 0, 1); }, {0, 0, 1}, {0, 0, -1},
     {0.84, 0.84, 0.84, 1}},
    {"unlit colour is the current one, clamped", [] { glColor4d(1.5, -0.5, 0.25, 0.5); }, {0, 0, 1}, {0, 0, -1},
     {1, 0, 0.25, 0.5}},
};

class LightingTest : public SubsetTest, public ::testing::WithParamInterface<LightingCase> {};

TEST_P(LightingTest, VertexColourIsWorkedOut) {
  const LightingCase& c = GetParam();
  glMatrixMode(GL_PROJECTION);  // room for every case's vertex; lighting works in eye space
  glOrtho(-10, 10, -10, 10, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  c.setUp();
  glBegin(GL_POINTS);
  glNormal3dv(c.normal);
  glVertex3dv(c.vertex);
  glEnd();
  glFinish();
  EXPECT_VEC4_NEAR(OnlyPoint().color, c.rgba[0], c.rgba[1], c.rgba[2], c.rgba[3]);
}

INSTANTIATE_TEST_SUITE_P(Subset, LightingTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
}  // namespace vellumor::webgl

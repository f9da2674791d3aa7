#include "view/view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "testing/allocation_counter.h"
#include "testing/recording_gl.h"
#include "terrain/terrain_scene.h"
#include "view/camera.h"

namespace vellumor {

namespace {

// Remembers the GL state it was asked to render with.
struct ProbeScene final : Scene {
  void Update(double, double) override {}
  void Render() override { seen.push_back(recgl::State()); }
  std::vector<GlState> seen;
};

Vec3 Plus(const Vec3& p, double k, const Vec3& d) { return {p.x + k * d.x, p.y + k * d.y, p.z + k * d.z}; }

// Where a world point lands in the window, to a thousandth of a pixel.
void ExpectLandsAt(const GlState& s, const Vec3& world, double x, double y) {
  const Vec3 w = recgl::WindowPoint(s, world);
  EXPECT_NEAR(w.x, x, 1e-3) << "(" << world.x << ", " << world.y << ", " << world.z << ")";
  EXPECT_NEAR(w.y, y, 1e-3) << "(" << world.x << ", " << world.y << ", " << world.z << ")";
}
double Depth(const GlState& s, const Vec3& world) { return recgl::WindowPoint(s, world).z; }

struct ViewTest : ::testing::Test {
  void SetUp() override {
    recgl::Reset();
    view.SetRect({0, 0, 399, 299});
  }

  ProbeScene scene;
  Camera camera;
  View view{&scene, &camera};
};

TEST_F(ViewTest, PerspectiveLooksThroughTheCameraWithTheFieldOfViewAcrossTheWidth) {
  view.mode = ViewMode::Perspective;
  camera.position = {10, 20, 30};
  camera.yaw = -1.25;
  camera.pitch = 0.5;
  view.RenderView();
  ASSERT_EQ(scene.seen.size(), 1u);
  const GlState& s = scene.seen[0];
  EXPECT_EQ((std::vector<GLint>(s.viewport, s.viewport + 4)), (std::vector<GLint>{0, 0, 400, 300}));

  // The view direction, screen right and screen up of a camera with this yaw and pitch.
  const double sy = std::sin(camera.yaw), cy = std::cos(camera.yaw);
  const double sp = std::sin(camera.pitch), cp = std::cos(camera.pitch);
  const Vec3 ahead{sy * cp, -sp, cy * cp}, right{cy, 0, -sy}, up{sy * sp, cp, cy * sp};
  const Vec3 centre = Plus(camera.position, 100, ahead);
  ExpectLandsAt(s, centre, 200, 150);
  EXPECT_GT(recgl::WindowPoint(s, Plus(centre, 10, right)).x, 200.0);
  EXPECT_NEAR(recgl::WindowPoint(s, Plus(centre, 10, right)).y, 150.0, 1e-6);
  EXPECT_GT(recgl::WindowPoint(s, Plus(centre, 10, up)).y, 150.0);
  EXPECT_NEAR(recgl::WindowPoint(s, Plus(centre, 10, up)).x, 200.0, 1e-6);

  // The frustum's sides run through the window's left and right edges; a wide window shows
  // less than the camera's height, so its top and bottom lie 50 pixels beyond the window's.
  for (int k = 0; k < 8; ++k) {
    SCOPED_TRACE(k);
    ExpectLandsAt(s, camera.corners[k], k & 1 ? 400 : 0, k & 2 ? -50 : 350);
    EXPECT_NEAR(Depth(s, camera.corners[k]), k & 4 ? 1.0 : 0.0, 1e-9);
  }
}

TEST_F(ViewTest, PerspectiveRefitsTheCameraFirst) {
  view.mode = ViewMode::Perspective;
  camera.radius = 20;  // moves the near plane out
  camera.aspect = 0.5;
  view.RenderView();
  Camera refitted;
  refitted.radius = 20;
  refitted.aspect = 0.5;
  refitted.UpdateFrustum();
  EXPECT_EQ(camera.frustum.zNear, refitted.frustum.zNear);
  // A tall camera fills the window's height, and the window shows two thirds of its width.
  const GlState& s = scene.seen.at(0);
  for (int k = 0; k < 8; ++k) {
    SCOPED_TRACE(k);
    ExpectLandsAt(s, refitted.corners[k], k & 1 ? 500 : -100, k & 2 ? 0 : 300);
    EXPECT_NEAR(Depth(s, refitted.corners[k]), k & 4 ? 1.0 : 0.0, 1e-9);
  }
}

TEST_F(ViewTest, OrthographicViewsCentreOnTheCameraAndSpanItsRadius) {
  struct Case {
    ViewMode mode;
    ViewRect rect;
    Vec3 right, up, ahead;  // world directions of the screen's right and up, and of the view
    double halfWidth, halfHeight, unitsPerPixel;
  };
  const Case cases[] = {
      {ViewMode::Top, {0, 0, 399, 299}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}, 1500, 1125, 7.5},
      {ViewMode::Side, {0, 0, 399, 299}, {0, 0, 1}, {0, 1, 0}, {-1, 0, 0}, 1500, 1125, 7.5},
      {ViewMode::Front, {0, 0, 299, 599}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, 1500, 3000, 10},
  };
  camera.radius = 1500;
  camera.position = {100, 50, 200};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    scene.seen.clear();
    view.mode = c.mode;
    view.SetRect(c.rect);
    view.RenderView();
    ASSERT_EQ(scene.seen.size(), 1u);
    const GlState& s = scene.seen[0];
    const double w = c.rect.x1 + 1, h = c.rect.y1 + 1;
    ExpectLandsAt(s, camera.position, w / 2, h / 2);
    ExpectLandsAt(s, Plus(camera.position, c.halfWidth, c.right), w, h / 2);
    ExpectLandsAt(s, Plus(camera.position, c.halfHeight, c.up), w / 2, h);
    ExpectLandsAt(s, Plus(camera.position, 5000, c.ahead), w / 2, h / 2);
    EXPECT_EQ(view.unitsPerPixelX, c.unitsPerPixel);
    EXPECT_EQ(view.unitsPerPixelY, c.unitsPerPixel);
    // Nearer things in front; nothing the scene draws is clipped along the view, even far behind the eye.
    const double ahead = Depth(s, Plus(camera.position, 1e6, c.ahead));
    const double behind = Depth(s, Plus(camera.position, -1e6, c.ahead));
    EXPECT_GT(ahead, Depth(s, camera.position));
    EXPECT_LT(behind, Depth(s, camera.position));
    EXPECT_TRUE(behind > 0.0 && ahead < 1.0) << behind << " " << ahead;
  }
}

TEST_F(ViewTest, AViewportWithoutPixelsDrawsNothingUntilItHasASizeAgain) {
  camera.radius = 1500;
  view.SetRect({0, 0, 299, 599});
  view.RenderView();
  recgl::Reset();
  // Empty, inverted, and wider or taller than GL can take.
  constexpr std::int32_t kLow = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kHigh = std::numeric_limits<std::int32_t>::max();
  for (const ViewRect& r : {ViewRect{0, 0, -1, 299}, ViewRect{0, 0, 399, -1}, ViewRect{5, 5, 3, 3},
                            ViewRect{kLow, 0, kHigh, 299}, ViewRect{0, kLow, 399, kHigh}}) {
    view.SetRect(r);
    view.RenderView();
  }
  EXPECT_TRUE(recgl::Calls().empty());
  EXPECT_EQ(scene.seen.size(), 1u);
  EXPECT_EQ(view.unitsPerPixelX, 10.0);
  view.SetRect({0, 0, 0, 0});
  view.RenderView();
  EXPECT_EQ((std::vector<GLint>(recgl::State().viewport, recgl::State().viewport + 4)),
            (std::vector<GLint>{0, 0, 1, 1}));
}

TEST_F(ViewTest, PanMovesTheCameraFromWhereTheDragBegan) {
  camera.radius = 1500;
  view.RenderView();  // 7.5 units per pixel
  const std::pair<ViewMode, Vec3> cases[] = {{ViewMode::Top, {25, 50, 230}},
                                             {ViewMode::Front, {25, 80, 200}},
                                             {ViewMode::Side, {100, 80, 125}},
                                             {ViewMode::Perspective, {-1, -2, -3}}};
  for (const auto& [mode, expected] : cases) {
    camera.position = {100, 50, 200};
    view.mode = mode;
    view.BeginPan();
    camera.position = {-1, -2, -3};
    view.Pan(3, 3);
    view.Pan(10, 4);  // from the origin again, not from the last pan
    EXPECT_EQ((std::vector<double>{camera.position.x, camera.position.y, camera.position.z}),
              (std::vector<double>{expected.x, expected.y, expected.z}));
  }

  // A drag begun in the perspective view goes on in the orthographic one from the other camera's origin.
  Camera ortho;
  camera.position = {1, 2, 3};
  view.mode = ViewMode::Perspective;
  view.BeginPan();
  view.camera = &ortho;
  view.mode = ViewMode::Front;
  view.Pan(4, 0);
  EXPECT_EQ((std::vector<double>{ortho.position.x, ortho.position.y, ortho.position.z}),
            (std::vector<double>{1 - 30.0, 2, 3}));
}

TEST(SteadyFrameTest, AllocatesNothingOnceTheGridHasGrown) {
  TerrainScene terrainScene;
  View view(&terrainScene, &terrainScene.camera);
  view.mode = ViewMode::Perspective;
  view.SetRect({0, 0, 639, 479});
  recgl::Reset();
  recgl::SetRecording(false);
  double t = 0.0;
  const auto frames = [&](int n) {
    for (int i = 0; i < n; ++i, t += 0.016) {
      terrainScene.Update(t, 0.016);
      view.RenderView();
    }
  };
  frames(2);
  std::size_t before = alloccount::Count();
  frames(10);
  EXPECT_EQ(alloccount::Count(), before);
  view.camera = &terrainScene.orthoCamera;
  view.mode = ViewMode::Top;
  before = alloccount::Count();
  frames(10);
  EXPECT_EQ(alloccount::Count(), before);
  EXPECT_GT(terrainScene.terrain.rows, 3);
}

}  // namespace

}  // namespace vellumor

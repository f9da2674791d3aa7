#include "view/view.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "testing/allocation_counter.h"
#include "testing/recording_gl.h"
#include "terrain/terrain_scene.h"
#include "view/camera.h"

namespace vellumor {

namespace {

constexpr double kMax = 1.0e7;  // the orthographic depth range either side of the eye
constexpr double kRadiansPerDegree = 0.017453292519943295;

// Remembers where in the GL call stream it was asked to render.
struct ProbeScene final : Scene {
  void Update(double, double) override {}
  void Render() override { renderedAt.push_back(recgl::Calls().size()); }
  std::vector<std::size_t> renderedAt;
};

struct ViewTest : ::testing::Test {
  void SetUp() override {
    recgl::Reset();
    view.SetRect({0, 0, 399, 299});
  }
  static std::vector<double> Args(const char* name) { return recgl::Named(name).at(0).args; }

  ProbeScene scene;
  Camera camera;
  View view{&scene, &camera};
};

TEST_F(ViewTest, PerspectiveLooksThroughTheUpdatedCamera) {
  view.mode = ViewMode::Perspective;
  camera.position = {10, 20, 30};
  camera.yaw = -1.25;
  camera.pitch = 0.5;
  view.RenderView();
  EXPECT_EQ(recgl::Names(),
            (std::vector<std::string>{"glViewport", "glMatrixMode", "glLoadIdentity", "glFrustum", "glMatrixMode",
                                      "glLoadIdentity", "glRotated", "glRotated", "glTranslated", "glScaled"}));
  EXPECT_EQ(Args("glViewport"), (std::vector<double>{0, 0, 400, 300}));
  // The field of view spans the width; the height follows the window.
  EXPECT_EQ(Args("glFrustum"), (std::vector<double>{-5.486187866266674, 5.486187866266674, -4.114640899700005,
                                                    4.114640899700005, 8.611589967035776, 9000}));
  EXPECT_EQ(recgl::Named("glMatrixMode")[0].args[0], GL_PROJECTION);
  EXPECT_EQ(recgl::Named("glRotated")[0].args, (std::vector<double>{0.5 / kRadiansPerDegree, 1, 0, 0}));
  EXPECT_EQ(recgl::Named("glRotated")[1].args, (std::vector<double>{-1.25 / kRadiansPerDegree, 0, 1, 0}));
  EXPECT_EQ(Args("glTranslated"), (std::vector<double>{-10, -20, 30}));
  EXPECT_EQ(Args("glScaled"), (std::vector<double>{1, 1, -1}));
  EXPECT_EQ(scene.renderedAt, (std::vector<std::size_t>{recgl::Calls().size()}));

  // The frustum is refitted first; a tall camera narrows the width instead.
  recgl::Reset();
  camera.radius = 20;
  camera.aspect = 0.5;
  view.RenderView();
  const double e = 5.486187866266674, fx = 0.5 * (400.0 / 300.0);
  EXPECT_EQ(Args("glFrustum"), (std::vector<double>{-2 * e * fx, 2 * e * fx, -4 * e, 4 * e, 2 * 8.611589967035776, 9000}));
}

TEST_F(ViewTest, OrthographicViewsCentreOnTheCamera) {
  camera.radius = 1500;
  camera.position = {100, 50, 200};
  view.RenderView();  // Top
  EXPECT_EQ(Args("glOrtho"), (std::vector<double>{-1500, 1500, -1125, 1125, -kMax, kMax}));
  EXPECT_EQ(view.unitsPerPixelX, 7.5);
  EXPECT_EQ(view.unitsPerPixelY, 7.5);
  EXPECT_EQ(Args("glRotated"), (std::vector<double>{90, 1, 0, 0}));
  EXPECT_EQ(Args("glTranslated"), (std::vector<double>{-100, -50, 200}));
  EXPECT_EQ(scene.renderedAt.size(), 1u);

  recgl::Reset();
  view.mode = ViewMode::Side;
  view.RenderView();
  EXPECT_EQ(Args("glRotated"), (std::vector<double>{90, 0, -1, 0}));

  recgl::Reset();
  view.mode = ViewMode::Front;
  view.SetRect({0, 0, 299, 599});
  view.RenderView();
  EXPECT_EQ(recgl::Count("glRotated"), 0u);
  EXPECT_EQ(Args("glOrtho"), (std::vector<double>{-1500, 1500, -3000, 3000, -kMax, kMax}));
  EXPECT_EQ(view.unitsPerPixelY, 10.0);

  // A viewport without pixels draws nothing at all until it has a size again.
  recgl::Reset();
  for (const ViewRect& r : {ViewRect{0, 0, -1, 299}, ViewRect{0, 0, 399, -1}, ViewRect{5, 5, 3, 3}}) {
    view.SetRect(r);
    view.RenderView();
  }
  EXPECT_TRUE(recgl::Calls().empty());
  EXPECT_EQ(scene.renderedAt.size(), 3u);
  EXPECT_EQ(view.unitsPerPixelX, 10.0);
  view.SetRect({0, 0, 0, 0});
  view.RenderView();
  EXPECT_EQ(Args("glViewport"), (std::vector<double>{0, 0, 1, 1}));
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

// The frame loop: clock, frame counting, the order of a frame and the text overlay.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <string>

#include "app/frame.h"
#include "support/app_fixture.h"

namespace vellumor {

namespace {

using platform::EventKind;

class FrameTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    fake::state.tick = 5000;
    OpenWindow(400, 300);
    recgl::Reset();
  }
  void FrameAt(std::uint32_t tick) {
    fake::state.tick = tick;
    Send(EventKind::Paint);
  }
};

TEST_F(FrameTest, TimeRunsFromStartUpAndTheFirstFrameGetsAllOfIt) {
  FrameAt(5250);
  EXPECT_EQ(shell.frameClock.lastElapsed, 0.25);
  FrameAt(5250);  // same tick: dt is 0, t unchanged
  EXPECT_EQ(shell.frameClock.lastElapsed, 0.25);
  EXPECT_EQ(terrainScene.orthoCamera.position.z, 1000.0);  // no reset: t was never 0
}

TEST_F(FrameTest, AFrameAtTimeZeroResetsTheScene) {
  terrainScene.camera.radius = 3.0;
  FrameAt(5000);
  EXPECT_EQ(terrainScene.camera.radius, 10.0);
  EXPECT_EQ(terrainScene.orthoCamera.position.z, 2000.0);
}

TEST_F(FrameTest, TheTickCounterWrapsWithoutAJump) {
  ResetProgramState();
  fake::state.tick = 0xFFFFFC18u;  // 1000 ms before the wrap
  OpenWindow();
  FrameAt(0xFFFFFFFFu);
  EXPECT_EQ(shell.frameClock.lastElapsed, 0.999);
  FrameAt(500u);
  EXPECT_EQ(shell.frameClock.lastElapsed, 1.5);
  EXPECT_EQ(shell.frameClock.shownFps, 1);  // the window closed after 1500 ms holding one frame
}

TEST_F(FrameTest, FpsShowsTheFramesOfTheLastWindowOfMoreThanASecond) {
  for (std::uint32_t ms = 0; ms <= 1000; ms += 100) FrameAt(5000 + ms);
  EXPECT_EQ(shell.frameClock.shownFps, 0);  // 1000 ms is not more than 1000
  FrameAt(6001);
  EXPECT_EQ(shell.frameClock.shownFps, 11);
  EXPECT_EQ(shell.frameClock.frameCount, 1);
  EXPECT_EQ(shell.frameClock.fpsWindowStart, 1001u);
}

TEST_F(FrameTest, AFrameClearsDrawsTheOverlayFinishesAndSwaps) {
  fake::TakeLog();
  FrameAt(5100);
  // Both buffers cleared to the background, set beforehand, and before anything is drawn.
  const GlState& gl = recgl::State();
  EXPECT_EQ((std::vector<double>(gl.clearColor, gl.clearColor + 4)),
            (std::vector<double>{0.7f, 0.7f, 0.8f, 0.0f}));
  EXPECT_EQ(gl.clearDepth, 1.0);
  const std::size_t clear = recgl::Find("glClear");
  ASSERT_LT(clear, recgl::Calls().size());
  EXPECT_EQ(recgl::Calls()[clear].args[0], GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  EXPECT_GT(clear, std::max(recgl::Find("glClearColor"), recgl::Find("glClearDepth")));
  EXPECT_LT(clear, recgl::Find("glBegin"));
  // The scene depth-tested in the whole client area, then everything finished before the swap.
  ASSERT_FALSE(recgl::Primitives().empty());
  EXPECT_TRUE(recgl::Primitives().front().state.IsOn(GL_DEPTH_TEST));
  EXPECT_EQ((std::vector<GLint>(gl.viewport, gl.viewport + 4)), (std::vector<GLint>{0, 0, 400, 300}));
  EXPECT_STREQ(recgl::Calls().back().name, "glFinish");
  EXPECT_EQ(fake::TakeLog(), std::vector<std::string>{"SwapBuffers"});

  // What the text overlay leaves for the next frame.
  EXPECT_FALSE(gl.IsOn(GL_DEPTH_TEST));
  EXPECT_FALSE(gl.IsOn(GL_LIGHTING));
  EXPECT_TRUE(gl.IsOn(GL_BLEND));
  EXPECT_EQ(gl.blendSrc, static_cast<GLenum>(GL_SRC_ALPHA));  // left by the water plane
  EXPECT_EQ(gl.blendDst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
}

TEST_F(FrameTest, TheOverlayPrintsNineLabelledLinesTwelvePixelsApart) {
  terrainScene.terrain.freq = 1e-20;
  terrainScene.terrain.amp = -40.0;
  terrainScene.mover.position = {100, 200, 300};  // the text stays put wherever the camera is
  terrainScene.lookYaw = 0.3;
  FrameAt(5100);
  const std::vector<std::string> expected = {"FPS:0", "Octaves:2", "Amp:-40", "Freq:1e-20", "h:0.5",
                                             "radius:10", "oradius:1500", "fov:65", "unit:80"};
  const std::vector<GlText>& texts = recgl::Texts();
  ASSERT_EQ(texts.size(), expected.size());
  for (std::size_t n = 0; n < texts.size(); ++n) {
    SCOPED_TRACE(n);
    const GlState& s = texts[n].state;
    EXPECT_EQ(texts[n].text, expected[n]);
    EXPECT_EQ(texts[n].listBase, 1000u);  // the font's lists
    // In window pixels from the top-left corner, half-transparent white over everything.
    EXPECT_NEAR(s.rasterPosition[0], 5, 1e-9);
    EXPECT_NEAR(s.rasterPosition[1], 300 - 15 - 12.0 * n, 1e-9);
    EXPECT_EQ((std::vector<double>(s.rasterColor, s.rasterColor + 4)), (std::vector<double>{1, 1, 1, 0.5}));
    EXPECT_FALSE(s.IsOn(GL_DEPTH_TEST) || s.IsOn(GL_LIGHTING));
    EXPECT_TRUE(s.IsOn(GL_BLEND));
  }
}

// On a scaled display the overlay is the same overlay, larger: its font made
// anew for the display (the old lists deleted), its cells S times as far from
// the top-left corner, rounded.
TEST_F(FrameTest, OnAScaledDisplayTheOverlayIsTheSameOverlayLarger) {
  struct Case {
    std::int32_t dpi;
    GLint left;
    std::vector<GLint> tops;  // of lines 0, 1 and 8
  };
  for (const Case& c : {Case{96, 5, {15, 27, 111}}, Case{144, 8, {23, 41, 167}}, Case{192, 10, {30, 54, 222}}}) {
    SCOPED_TRACE(c.dpi);
    const bool remade = c.dpi != 96;
    fake::state.fontListBase = shell.textOverlay.fontListBase + 256;
    fake::TakeLog();
    recgl::Reset();
    Send(EventKind::DpiChanged, c.dpi);
    const std::vector<std::string> made{"CreateFontLists " + std::to_string(c.dpi)};
    EXPECT_EQ(fake::TakeLog(), remade ? made : std::vector<std::string>{});
    EXPECT_EQ(recgl::Count("glDeleteLists"), remade ? 1u : 0u);
    FrameAt(5100);
    const std::vector<GlText>& texts = recgl::Texts();
    ASSERT_EQ(texts.size(), 9u);
    EXPECT_EQ(texts[0].listBase, remade ? fake::state.fontListBase : 1000u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR(texts[i == 2 ? 8 : i].state.rasterPosition[0], c.left, 1e-9);
      EXPECT_NEAR(300 - texts[i == 2 ? 8 : i].state.rasterPosition[1], c.tops[i], 1e-9);
    }
  }
}

TEST_F(FrameTest, HeldKeysActAfterTheFrameIsDrawn) {
  static std::size_t finishesSeen = 0;
  static Action<void()> probe{999, [] { finishesSeen = recgl::Count("glFinish"); }};
  actionRegistry.Bind(&probe);
  actionRegistry.KeyDown(999);
  FrameAt(5100);
  EXPECT_EQ(finishesSeen, 1u);
}

}  // namespace

}  // namespace vellumor

// Long random input sequences through the window procedure. After every event
// the pointer is in a state the pointer table allows and the active held-key
// actions are exactly the presses not yet released; after every frame the GL
// stacks are balanced, the grid is within its cap and GL was handed nothing
// that is not finite. The seeds are fixed and
// a failure names its seed and event, so it can be replayed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <random>
#include <string>

#include "app/frame_checks.h"
#include "platform/virtual_keys.h"
#include "testing/allocation_counter.h"
#include "testing/shell_invariants.h"
#include "support/app_fixture.h"

namespace vellumor {

namespace {

using invariants::kHeldKeys;
using platform::EventKind;

constexpr std::int32_t kTableKeys[] = {vk::Digit0, vk::Digit1, vk::Digit2, vk::Digit9, vk::B, vk::F,  vk::G,  vk::R,
                                       vk::T,      vk::U,      vk::V,      vk::Y,      vk::F1, vk::F2, vk::F3, vk::F4};
constexpr std::int32_t kEdgeValues[] = {0, -1, 1, 32767, -32768, 65535, -4000, 120000,
                                        std::numeric_limits<std::int32_t>::max(),
                                        std::numeric_limits<std::int32_t>::min()};
// Clock steps between frames: same tick, a frame, a second, a long stall, and
// 1 ms backwards, which the unsigned clock reads as a jump of 49.7 days.
constexpr std::uint32_t kTickSteps[] = {0, 1, 16, 16, 16, 1000, 1u << 31, 0xFFFFFFFFu};

class RandomInputTest : public ProgramTest {
 protected:
  std::mt19937 rng;
  invariants::HeldKeyPresses presses;
  int modesSeen[3] = {};
  int frames = 0;
  std::string frameNonFinite;  // what the last frame handed GL that it should not have

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  template <std::size_t N>
  std::int32_t Pick(const std::int32_t (&values)[N]) {
    return values[Below(static_cast<int>(N))];
  }
  // Mostly around the window, often at the edges of the 16- and 32-bit ranges, sometimes anything.
  std::int32_t Coordinate() {
    switch (Below(4)) {
      case 0: return Pick(kEdgeValues);
      case 1: return static_cast<std::int32_t>(rng());
      default: return Below(700) - 200;
    }
  }

  // Keeps frames cheap under the sanitizers: a coarse grid, a moderate field
  // of view, few octaves. The extremes have tests of their own.
  static std::int32_t Moderate(std::int32_t key) {
    const Terrain& t = terrainScene.terrain;
    const double fov = terrainScene.camera.fov;
    if (key == vk::Digit9 && t.unit <= 320.0) return vk::Digit0;
    if (key == vk::Digit1 && fov <= 20.0) return vk::Digit2;
    if (key == vk::Digit2 && fov >= 120.0) return vk::Digit1;
    if (key == vk::T && t.octaves >= 6.0) return vk::R;
    return key;
  }
  void Down(std::int32_t key, bool repeat) {
    key = Moderate(key);
    if (key == vk::Escape) return;  // quitting ends the run; it comes last
    presses.Note({.kind = EventKind::KeyDown, .key = key, .repeat = repeat});
    Key(key, repeat);
  }
  void Up(std::int32_t key) {
    presses.Note({.kind = EventKind::KeyUp, .key = key});
    KeyUp(key);
  }
  // The system takes the capture away: first on its side, then it tells the window.
  static void LoseCapture() {
    fake::state.captured = false;
    Send(EventKind::CaptureLost);
  }

  // A screen coordinate in client terms, wrapped like the 16-bit words of a real message.
  static std::int32_t Client(std::int32_t screen, std::int32_t origin) {
    return static_cast<std::int32_t>(std::int64_t{screen} - origin);
  }

  void RandomEvent() {
    switch (Below(17)) {
      case 0: case 1: case 2:
        if (Below(3) == 0) {  // the move that re-centring the cursor produces
          Send(EventKind::MouseMove, Client(fake::state.cursorX, shell.clientArea.clientX),
               Client(fake::state.cursorY, shell.clientArea.clientY));
        } else {
          Send(EventKind::MouseMove, Coordinate(), Coordinate());
        }
        break;
      case 3: case 4: Down(Pick(kTableKeys), Below(4) == 0); break;
      case 5: Down(Pick(kHeldKeys), Below(3) == 0); break;
      case 6: Up(Below(2) == 0 ? Pick(kHeldKeys) : Pick(kTableKeys)); break;
      case 7: Below(2) == 0 ? Down(Below(300), false) : Up(static_cast<std::int32_t>(rng())); break;
      case 8: Send(EventKind::LeftButtonDown, Coordinate(), Coordinate()); break;
      case 9: Send(EventKind::LeftButtonUp, Coordinate(), Coordinate()); break;
      case 10: Wheel(Below(2) == 0 ? Below(481) - 240 : Coordinate()); break;
      case 11:
        if (Below(2) == 0) {
          Activate(true);
        } else {  // switching away: the system also takes the capture, if the window held it
          fake::LoseFocus(Below(2) == 0);
          presses.Note({.kind = EventKind::Activate, .active = false});
        }
        break;
      case 12: LoseCapture(); break;  // also when not captured: a stray notice
      case 13: Below(3) == 0 ? Send(EventKind::Size, 0, 0) : Send(EventKind::Size, Coordinate(), Coordinate()); break;
      case 14: Send(EventKind::Move, Coordinate(), Coordinate()); break;
      default: {
        fake::state.tick += kTickSteps[Below(static_cast<int>(std::size(kTickSteps)))];
        const invariants::FrameStart start;
        Send(EventKind::Paint);
        ++frames;
        frameNonFinite = start.NonFiniteProblem();
        break;
      }
    }
  }
};

TEST_F(RandomInputTest, NoSequenceOfEventsBreaksThePointerTheFrameOrTheMemory) {
  constexpr std::uint32_t kSeeds[] = {1, 2, 3, 20250101};
  constexpr int kEvents = 5000;
  for (const std::uint32_t seed : kSeeds) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    ResetProgramState();
    rng.seed(seed);
    presses = {};
    frames = 0;
    std::fill(std::begin(modesSeen), std::end(modesSeen), 0);
    OpenWindow();
    recgl::SetRecording(false);
    Key(vk::Digit0);  // a coarser grid keeps the many frames cheap
    Key(vk::Digit0);

    for (int n = 0; n < kEvents; ++n) {
      const int framesBefore = frames;
      RandomEvent();
      ASSERT_TRUE(Holds(invariants::PointerProblem())) << "after event " << n;
      ASSERT_TRUE(Holds(invariants::HeldKeyProblem(presses))) << "after event " << n;
      if (frames != framesBefore) {
        ASSERT_TRUE(FrameLeftGlClean()) << "after event " << n;
        ASSERT_TRUE(GridBounded()) << "after event " << n;
        ASSERT_TRUE(Holds(frameNonFinite)) << "after event " << n;
      }
      ++modesSeen[static_cast<int>(shell.pointer.mouseMode)];
    }
    // The sequence went everywhere it should have.
    EXPECT_GT(modesSeen[0], 0);
    EXPECT_GT(modesSeen[1], 0);
    EXPECT_GT(modesSeen[2], 0);
    EXPECT_GT(frames, kEvents / 20);

    // However long it ran, a steady view then allocates nothing per frame.
    for (std::int32_t key : kHeldKeys) KeyUp(key);
    Key(vk::Space);
    Send(EventKind::Size, 240, 217);
    for (int frame = 0; frame < 3; ++frame) RenderFrame();
    const std::size_t allocations = alloccount::Count();
    for (int frame = 0; frame < 50; ++frame) {
      fake::state.tick += 16;
      RenderFrame();
    }
    EXPECT_EQ(alloccount::Count(), allocations);

    Key(vk::Escape);  // and it still ends the way it always does
    EXPECT_TRUE(fake::state.quit);
    EXPECT_EQ(fake::state.exitCode, 0);
    EXPECT_FALSE(fake::state.windowAlive);
  }
}

}  // namespace

}  // namespace vellumor

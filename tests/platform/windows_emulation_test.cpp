// The emulation's rules, one test each: host events in, the events a
// Windows window procedure would receive out. The fuzzer and the
// random-input test drive it further (testing/event_driver.h).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/layer_shared.h"
#include "platform/virtual_keys.h"
#include "platform/windows_emulation.h"

namespace vellumor::platform {

namespace {

struct Seen {
  EventKind kind;
  std::int32_t a = 0;  // key, wheel delta, x or dpi
  std::int32_t b = 0;  // repeat, active or y
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
  return out << "{kind " << static_cast<int>(s.kind) << ", " << s.a << ", " << s.b << "}";
}

std::vector<Seen> seen;
bool takeKeys = true;                        // what the procedure says of a key-down
void (*onMove)(const Event&) = nullptr;      // what the procedure does with a move

bool Record(const Event& e) {
  switch (e.kind) {
    case EventKind::KeyDown: seen.push_back({e.kind, e.key, e.repeat}); return takeKeys;
    case EventKind::KeyUp: seen.push_back({e.kind, e.key}); break;
    case EventKind::Wheel: seen.push_back({e.kind, e.wheelDelta}); break;
    case EventKind::Activate: seen.push_back({e.kind, 0, e.active}); break;
    default: seen.push_back({e.kind, e.x, e.y}); break;
  }
  if (e.kind == EventKind::MouseMove && onMove != nullptr) onMove(e);
  return true;
}

// A host whose queue still holds motion from before a warp.
std::deque<std::int32_t> queuedMotion;  // x of each queued move
int warps = 0;
HostServices WarpingHost() {
  return {.pressesHeldKeysOnFocus = true,
          .canWarp = true,
          .warp = [](std::int32_t, std::int32_t) { ++warps; },
          .discardQueuedMotion = [] { queuedMotion.clear(); }};
}

class EmulationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    emulation.Reset(WarpingHost());
    SetWindowProcedure(Record);
    emulation.Size(200, 100);
    emulation.Focus(true, 0);
    Take();
  }
  void TearDown() override {
    SetWindowProcedure(nullptr);
    takeKeys = true;
    onMove = nullptr;
    queuedMotion.clear();
  }
  static std::vector<Seen> Take() { return std::exchange(seen, {}); }
  static bool Key(std::int32_t key, bool down, std::uint32_t time = 0, bool hostRepeat = false,
                  KeyModifiers modifiers = {}) {
    return emulation.Key(key, down, modifiers, hostRepeat, time);
  }
};

constexpr EventKind Down = EventKind::KeyDown;
constexpr EventKind Up = EventKind::KeyUp;
constexpr EventKind Activate = EventKind::Activate;

TEST_F(EmulationTest, AKeyDownIsARepeatWhenTheHostSaysSoOrTheKeyWasAlreadyDown) {
  Key(vk::D, true, 0, true);  // held since before the window knew of it
  Key(vk::W, true);
  Key(vk::W, true, 0, true);  // the host's auto-repeat
  Key(vk::W, true);           // a second press without a release between
  Key(vk::W, false);
  Key(vk::W, true);
  EXPECT_EQ(Take(), (std::vector<Seen>{{Down, vk::D, 1}, {Down, vk::W, 0}, {Down, vk::W, 1}, {Down, vk::W, 1},
                                       {Up, vk::W, 0}, {Down, vk::W, 0}}));
}

TEST_F(EmulationTest, SystemKeysNeverGoDownButEveryKnownKeyComesUp) {
  Key(18, true, 0, false, {.alt = true});            // Alt itself
  Key(vk::T, true, 0, false, {.alt = true});         // an Alt combination
  Key(121, true);                                    // F10
  Key(vk::G, true, 0, false, {.meta = true});        // the desktop's or browser's own
  Key(vk::Y, true, 0, false, {.alt = true, .ctrl = true});  // Ctrl+Alt types characters
  Key(vk::T, false, 0, false, {.alt = true});        // W let go with Alt down still ends what W began
  EXPECT_EQ(Take(), (std::vector<Seen>{{Down, vk::Y, 0}, {Up, vk::T, 0}}));
}

TEST_F(EmulationTest, TheKeysTheProcedureTookStayFromTheHostWithTheirRepeatsAndKeyUps) {
  const bool wTaken[] = {Key(vk::W, true), Key(vk::W, true, 0, true), Key(vk::W, false)};
  takeKeys = false;  // a key the shell has no use for, and a system key whatever it would say
  const bool others[] = {Key(vk::Y + 1, true), Key(vk::Y + 1, true, 0, true), Key(vk::Y + 1, false), Key(18, true)};
  EXPECT_THAT(wTaken, ::testing::Each(true));
  EXPECT_THAT(others, ::testing::Each(false));
}

TEST_F(EmulationTest, AKeyHeldThroughAFocusChangeGoesOnAsARepeatAndComesUpOnce) {
  Key(vk::W, true, 100);
  Key(vk::S, true, 100);
  emulation.Focus(false, 1000);
  // S is let go while away: the host says nothing of it.
  emulation.Focus(true, 2000);
  Key(vk::W, true, 2020);   // the host finds W still down
  Key(vk::W, false, 2500);
  Key(vk::W, true, 2700);   // pressed again
  Key(vk::S, true, 4000);   // pressed long after the return: a fresh press
  EXPECT_EQ(Take(), (std::vector<Seen>{{Down, vk::W, 0}, {Down, vk::S, 0}, {Activate, 0, 0}, {Activate, 0, 1},
                                       {Down, vk::W, 1}, {Up, vk::W, 0}, {Down, vk::W, 0}, {Down, vk::S, 0}}));
  Key(vk::A, false);  // never heard going down
  EXPECT_TRUE(Take().empty());

  // A browser goes on with a held key's auto-repeats: a press right after the return is a fresh one.
  emulation.Reset({});
  emulation.Focus(true, 0);
  Key(vk::T, true, 100);
  emulation.Focus(false, 1000);
  emulation.Focus(true, 2000);
  Key(vk::T, true, 2020);
  EXPECT_EQ(Take().back(), (Seen{Down, vk::T, 0}));
}

TEST_F(EmulationTest, FocusCaptureSizeMoveAndDpiAreHeardOnlyWhenTheyChange) {
  emulation.CaptureMouse();
  emulation.Focus(true, 10);
  emulation.Focus(false, 20);  // the system takes the capture
  emulation.DropCapture();
  emulation.Focus(false, 30);
  emulation.Size(200, 100);
  emulation.Size(320, 240);
  emulation.Move(-20, 30);  // partly off the screen's left edge
  emulation.Move(-20, 30);
  emulation.Dpi(96);
  emulation.Dpi(96);
  emulation.Dpi(192);
  EXPECT_EQ(Take(), (std::vector<Seen>{{Activate, 0, 0}, {EventKind::CaptureLost}, {EventKind::Size, 320, 240},
                                       {EventKind::Move, -20, 30}, {EventKind::DpiChanged, 96},
                                       {EventKind::DpiChanged, 192}}));
}

TEST_F(EmulationTest, TheWheelKeepsFractionsUntilTheyMakeAWholeUnit) {
  for (double units : {120.0, -240.0, 30.0, 0.6, 0.6, -0.5, -0.5, -0.5}) emulation.Wheel(units);
  emulation.Wheel(std::nan(""));
  EXPECT_EQ(Take(), (std::vector<Seen>{{EventKind::Wheel, 120}, {EventKind::Wheel, -240}, {EventKind::Wheel, 30},
                                       {EventKind::Wheel, 1}, {EventKind::Wheel, -1}}));
}

TEST_F(EmulationTest, ThePointerIsHeardOverTheClientAreaOrAnywhereWhileCaptured) {
  emulation.Motion(5, 6);
  emulation.Motion(200, 6);  // just past the right edge
  emulation.Button(true, -1, 6);
  emulation.CaptureMouse();
  emulation.Motion(-30, 500);
  emulation.Button(false, -30, 500);
  EXPECT_EQ(Take(), (std::vector<Seen>{{EventKind::MouseMove, 5, 6}, {EventKind::MouseMove, -30, 500},
                                       {EventKind::LeftButtonUp, -30, 500}}));
}

TEST_F(EmulationTest, WithoutWarpingLookModeMovesAVirtualCursorByRelativeMotion) {
  static bool relative = false;
  emulation.Reset({.relativeMotion = [](bool on) { relative = on; }});
  emulation.Move(100, 50);  // the client area's screen position
  Take();
  emulation.RelativeMotion(3, -2);  // not in look mode: nothing
  emulation.WarpCursor(228, 178);   // the look centre
  EXPECT_TRUE(relative);
  emulation.RelativeMotion(3.4, -2);
  emulation.RelativeMotion(3.4, 0);
  emulation.WarpCursor(228, 178);  // the shell puts it back
  emulation.RelativeMotion(-1, 1);
  emulation.EndRelativeMotion();
  EXPECT_FALSE(relative);
  EXPECT_EQ(Take(), (std::vector<Seen>{{EventKind::MouseMove, 131, 126}, {EventKind::MouseMove, 135, 126},
                                       {EventKind::MouseMove, 127, 129}}));
}

// Look mode warps back to the centre after every move; a move the host
// queued before that warp is measured from the old place and would turn the
// view a second time.
TEST_F(EmulationTest, AWarpDropsTheMotionTheHostQueuedBeforeIt) {
  onMove = [](const Event&) { emulation.WarpCursor(100, 50); };
  queuedMotion = {110, 110};
  while (!queuedMotion.empty()) {
    const std::int32_t x = queuedMotion.front();
    queuedMotion.pop_front();
    emulation.Motion(x, 50);
  }
  EXPECT_EQ(Take(), (std::vector<Seen>{{EventKind::MouseMove, 110, 50}}));
  EXPECT_EQ(warps, 1);
}

// Touch as the mouse and the wheel: a finger's steps in, the events out.
TEST_F(EmulationTest, TouchBecomesTheLeftButtonRelativeMotionOrTheWheel) {
  constexpr TouchPhase Start = TouchPhase::Start, Move = TouchPhase::Move, End = TouchPhase::End;
  constexpr EventKind Press = EventKind::LeftButtonDown, Lift = EventKind::LeftButtonUp,
                      Mouse = EventKind::MouseMove, Wheel = EventKind::Wheel;
  const double apart = 100.0 * std::pow(1.2, 2.5);  // 2.5 notches from 100
  struct Case {
    const char* rule;
    bool look;
    std::vector<std::tuple<TouchPhase, std::int64_t, double, double>> steps;
    std::vector<Seen> seen;
  } const cases[] = {
      {"one finger drags as the left button; unknown fingers do nothing", false,
       {{Start, 7, 10.4, 20}, {Move, 7, 15, 25.6}, {Move, 8, 1, 1}, {End, 7, 30, 40}},
       {{Press, 10, 20}, {Mouse, 15, 26}, {Lift, 30, 40}}},
      {"in look mode it moves the virtual cursor as relative motion", true,
       {{Start, 1, 10, 10}, {Move, 1, 13.4, 8}, {Move, 1, 16.8, 8}, {End, 1, 16.8, 8}},
       {{Mouse, 103, 48}, {Mouse, 107, 48}}},
      {"a second finger ends the drag; a notch per factor 1.2, the rest kept (to 90: 3.08 less 0.5)", false,
       {{Start, 1, 0, 0}, {Start, 2, 100, 0}, {Move, 2, apart, 0}, {Move, 1, apart - 90, 0}},
       {{Press, 0, 0}, {Lift, 0, 0}, {Wheel, -120}, {Wheel, -120}, {Wheel, 120}, {Wheel, 120}}},
      {"the finger left after a pinch drags afresh", false,
       {{Start, 1, 10, 10}, {Start, 2, 50, 10}, {End, 1, 10, 10}, {Move, 2, 70, 20}, {End, 2, 80, 20}},
       {{Press, 10, 10}, {Lift, 10, 10}, {Press, 50, 10}, {Mouse, 70, 20}, {Lift, 80, 20}}},
  };
  for (const Case& c : cases) {
    emulation.Reset({});
    emulation.Size(200, 100);
    if (c.look) emulation.WarpCursor(100, 50);  // look mode's centre
    Take();
    for (const auto& [phase, id, x, y] : c.steps) emulation.Touch(phase, id, x, y);
    EXPECT_EQ(Take(), c.seen) << c.rule;
  }
}

}  // namespace

}  // namespace vellumor::platform

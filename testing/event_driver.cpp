#include "testing/event_driver.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>

#include "app/frame.h"
#include "app/gl_context.h"
#include "app/globals.h"
#include "app/shell_state.h"
#include "platform/layer_shared.h"
#include "platform/virtual_keys.h"
#include "platform/windows_emulation.h"
#include "testing/fake_platform.h"
#include "testing/program_state.h"
#include "testing/recording_gl.h"

namespace vellumor {

namespace {

using platform::Event;
using platform::EventKind;

constexpr double kMinUnit = 2560.0;
constexpr double kMinFov = 10.0;
constexpr double kMaxFov = 150.0;
constexpr double kMaxOctaves = 8.0;

// In the order fuzz/seeds.py spells them.
constexpr std::int32_t kKeys[] = {
    // The fixed key table.
    vk::Digit0, vk::Digit1, vk::Digit2, vk::Digit9, vk::B, vk::F, vk::G, vk::R, vk::T, vk::U, vk::V, vk::Y,
    vk::F1, vk::F2, vk::F3, vk::F4,
    // The held keys, and Escape.
    vk::A, vk::D, vk::W, vk::S, vk::Space, vk::Escape,
    // Keys nothing handles.
    0, 3, 51, 56, 96, 116, 123, -1, 255, 65535};
constexpr std::int32_t kEdges[] = {
    0, -1, 1, 32767, -32768, 65535, -65536, 120, -120, 120000, -4000, std::numeric_limits<std::int32_t>::max(),
    std::numeric_limits<std::int32_t>::min()};
constexpr std::uint32_t kTickSteps[] = {0, 1, 16, 1000, 1u << 31, 0xFFFFFFFFu};

// EventKind's names, in its order, for the trace.
const char* const kKindNames[] = {"Create",   "Destroy", "Move",  "Size",      "Paint",
                                  "Activate", "KeyDown", "KeyUp", "MouseMove", "LeftButtonDown",
                                  "LeftButtonUp", "Wheel", "CaptureLost", "DpiChanged"};


template <std::size_t N, typename T>
T Pick(const T (&values)[N], std::uint8_t index) {
  return values[index % N];
}

// Coordinates in one of four spellings: near the window, a 16-bit word as in
// a window message, any 32-bit value, or a value at the edge of a range.
std::int32_t Coordinate(fuzz::Input& in, unsigned form) {
  switch (form & 3u) {
    case 0: return in.Byte() * 2 - 100;
    case 1: return static_cast<std::int16_t>(in.U16());
    case 2: return static_cast<std::int32_t>(in.U32());
    default: return Pick(kEdges, in.Byte());
  }
}

std::int32_t WheelDelta(fuzz::Input& in, unsigned form) {
  switch (form & 3u) {
    case 0: return static_cast<std::int8_t>(in.Byte()) * 30;
    case 1: return static_cast<std::int16_t>(in.U16());
    case 2: return static_cast<std::int32_t>(in.U32());
    default: return Pick(kEdges, in.Byte());
  }
}

std::int32_t Key(fuzz::Input& in, unsigned form) {
  switch (form & 3u) {
    case 2: return in.Byte();
    case 3: return static_cast<std::int32_t>(in.U32());
    default: return Pick(kKeys, in.Byte());
  }
}

std::uint32_t TickStep(fuzz::Input& in, unsigned form) {
  switch (form & 3u) {
    case 0: return 16;
    case 1: return in.Byte();
    case 2: return in.U32();
    default: return Pick(kTickSteps, in.Byte());
  }
}

// Whether a key-down keeps the frames cheap.
bool Affordable(std::int32_t key) {
  const Terrain& t = terrainScene.terrain;
  const double fov = terrainScene.camera.fov;
  switch (key) {
    case vk::Digit9: return t.unit * 0.5 >= kMinUnit;
    case vk::Digit1: return fov - 1.0 >= kMinFov;
    case vk::Digit2: return fov + 1.0 <= kMaxFov;
    case vk::T: return t.octaves + 1.0 <= kMaxOctaves;
    default: return true;
  }
}

EventDriver* current = nullptr;  // the driver the emulation's events go through

}  // namespace

EventDriver::EventDriver(int maxFrames, bool quitEarly, Host host)
    : maxFrames(maxFrames), quitEarly(quitEarly), throughEmulation(host != Host::None) {
  // The held-key actions are bound by the first window's Create and kept, so
  // that a run of many inputs does not pile them up.
  static const std::map<std::int32_t, IAction*> bindings = [] {
    ResetProgramState();
    fake::Send({.kind = EventKind::Create});
    return actionRegistry.bindings;
  }();
  ResetProgramState();
  actionRegistry.bindings = bindings;
  CreateGlContext();
  StartFrameClock();
  recgl::SetRecording(false);
  terrainScene.terrain.unit = kMinUnit;
  if (!throughEmulation) {
    Deliver({.kind = EventKind::Size, .x = fake::state.clientWidth, .y = fake::state.clientHeight});
    Deliver({.kind = EventKind::Move, .x = fake::state.clientX, .y = fake::state.clientY});
    return;
  }
  current = this;
  fake::state.emulated = true;
  platform::SetWindowProcedure(Heard);
  platform::emulation.Reset({.pressesHeldKeysOnFocus = host == Host::Warping,
                             .canWarp = host == Host::Warping,
                             .capture = [](bool on) {
                               fake::state.captured = on;
                               if (on) current->captureHeld = true;
                             }});
  platform::emulation.Size(fake::state.clientWidth, fake::state.clientHeight);
  platform::emulation.Move(fake::state.clientX, fake::state.clientY);
}

EventDriver::~EventDriver() {
  if (current != this) return;
  current = nullptr;
  platform::SetWindowProcedure(nullptr);
}

// What the emulation hands the window procedure, checked on its way.
bool EventDriver::Heard(const Event& event) {
  EventDriver& d = *current;
  switch (event.kind) {
    case EventKind::KeyDown:
      if (event.key >= 0 && event.key < 256) d.heardDown[event.key] = true;
      break;
    case EventKind::KeyUp:
      if (event.key < 0 || event.key >= 256 || !d.heardDown[event.key]) d.Check("a key-up without its key-down");
      if (event.key >= 0 && event.key < 256) d.heardDown[event.key] = false;
      break;
    case EventKind::CaptureLost:
      if (!d.captureHeld) d.Check("CaptureLost without a capture to lose");
      d.captureHeld = false;
      break;
    case EventKind::Size:
      if (event.x == d.sentWidth && event.y == d.sentHeight) d.Check("a Size that changed nothing");
      d.sentWidth = event.x;
      d.sentHeight = event.y;
      break;
    default:
      break;
  }
  return d.Deliver(event);
}

bool EventDriver::Next(fuzz::Input& in) {
  if (throughEmulation) {
    HostStep(in);
  } else {
    Step(in);
  }
  Check(invariants::PointerProblem());
  Check(invariants::HeldKeyProblem(presses));
  return problem.empty() && !fake::state.quit;
}

void EventDriver::Finish() {
  if (!fake::state.quit) Deliver({.kind = EventKind::KeyDown, .key = vk::Escape});
  if (!fake::state.quit || fake::state.exitCode != 0 || fake::state.windowAlive) {
    Check("Escape did not end the program with exit code 0");
  }
}

void EventDriver::Step(fuzz::Input& in) {
  const std::uint8_t op = in.Byte();
  const unsigned form = op >> 4;
  switch (op & 15u) {
    case 0:
    case 1: {
      const std::int32_t key = Key(in, form);
      if (!Affordable(key) || (key == vk::Escape && !quitEarly)) break;
      Deliver({.kind = EventKind::KeyDown, .key = key, .repeat = (op & 1u) != 0});
      break;
    }
    case 2: Deliver({.kind = EventKind::KeyUp, .key = Key(in, form)}); break;
    case 3: DeliverAt(EventKind::MouseMove, in, form); break;
    case 4:  // the move that putting the cursor back produces, in client terms
      Deliver({.kind = EventKind::MouseMove,
                .x = static_cast<std::int32_t>(std::int64_t{fake::state.cursorX} - shell.clientArea.clientX),
                .y = static_cast<std::int32_t>(std::int64_t{fake::state.cursorY} - shell.clientArea.clientY)});
      break;
    case 5: DeliverAt(EventKind::LeftButtonDown, in, form); break;
    case 6: DeliverAt(EventKind::LeftButtonUp, in, form); break;
    case 7: Deliver({.kind = EventKind::Wheel, .wheelDelta = WheelDelta(in, form)}); break;
    case 8: Deliver({.kind = EventKind::Activate, .active = true}); break;
    case 9:  // switching away: the system then takes the capture, if the window held it
      Deliver({.kind = EventKind::Activate, .active = false});
      if (fake::state.captured) LoseCapture();
      break;
    case 10: LoseCapture(); break;  // also when not captured: a stray notice
    case 11: DeliverAt(EventKind::Size, in, form); break;
    case 12: DeliverAt(EventKind::Move, in, form); break;
    default: Frame(in, form); break;
  }
}

// A host's events, each through the emulation as the SDL and web layers hand them on.
void EventDriver::HostStep(fuzz::Input& in) {
  using platform::emulation;
  const std::uint8_t op = in.Byte();
  const unsigned form = op >> 4;
  const std::uint32_t time = fake::state.tick;
  switch (op & 15u) {
    case 0:
    case 1: {
      const std::int32_t key = Key(in, form);
      const platform::KeyModifiers modifiers{.alt = (form & 4u) != 0, .ctrl = (form & 8u) != 0, .meta = false};
      if (!Affordable(key) || (key == vk::Escape && !quitEarly)) break;
      if (key >= 0 && key < 256 && platform::IsSystemKey(key, modifiers)) heardDown[key] = true;
      emulation.Key(key, true, modifiers, (op & 1u) != 0, time);
      break;
    }
    case 2: emulation.Key(Key(in, form), false, {}, false, time); break;
    case 3: {
      const std::int32_t x = Coordinate(in, form);
      emulation.Motion(x, Coordinate(in, form >> 2));
      break;
    }
    case 4:  // the move that putting the cursor back produces, in client terms
      emulation.Motion(static_cast<std::int32_t>(std::int64_t{fake::state.cursorX} - shell.clientArea.clientX),
                       static_cast<std::int32_t>(std::int64_t{fake::state.cursorY} - shell.clientArea.clientY));
      break;
    case 5:
    case 6: {
      const std::int32_t x = Coordinate(in, form);
      emulation.Button((op & 15u) == 5, x, Coordinate(in, form >> 2));
      break;
    }
    case 7: emulation.Wheel(static_cast<std::int8_t>(in.Byte()) * (form + 1) * 0.37); break;
    case 8:
    case 9: emulation.Focus((op & 15u) == 8, time); break;
    case 10: emulation.DropCapture(); break;  // the host takes the capture away
    case 11:
    case 12: {
      const std::int32_t x = Coordinate(in, form);
      const std::int32_t y = Coordinate(in, form >> 2);
      if ((op & 15u) == 11) emulation.Size(x, y);
      else emulation.Move(x, y);
      break;
    }
    case 13: emulation.RelativeMotion(static_cast<std::int8_t>(in.Byte()) / 4.0, static_cast<std::int8_t>(in.Byte()) / 4.0); break;
    default: Frame(in, form); break;
  }
}

void EventDriver::Frame(fuzz::Input& in, unsigned form) {
  const std::uint32_t step = TickStep(in, form);
  if (frames == maxFrames) return;
  fake::state.tick += step;
  ++frames;
  const invariants::FrameStart start;
  Deliver({.kind = EventKind::Paint});
  Check(invariants::FrameGlProblem());
  Check(invariants::GridProblem(terrainScene.terrain));
  Check(start.NonFiniteProblem());
}

bool EventDriver::Deliver(const Event& event) {
  if (fuzz::Tracing()) {
    std::fprintf(stderr, "%d: %s x %d y %d key %d wheel %d repeat %d active %d\n", events,
                 kKindNames[static_cast<int>(event.kind)], event.x, event.y, event.key, event.wheelDelta,
                 event.repeat, event.active);
  }
  presses.Note(event);
  ++events;
  return fake::Send(event);
}

// The system takes the capture away: first on its side, then it tells the window.
// x is read before y, whatever order the compiler would evaluate them in.
void EventDriver::DeliverAt(EventKind kind, fuzz::Input& in, unsigned form) {
  const std::int32_t x = Coordinate(in, form);
  Deliver({.kind = kind, .x = x, .y = Coordinate(in, form >> 2)});
}

void EventDriver::LoseCapture() {
  fake::state.captured = false;
  Deliver({.kind = EventKind::CaptureLost});
}

void EventDriver::Check(const std::string& found) {
  if (problem.empty() && !found.empty()) problem = "after event " + std::to_string(events - 1) + ": " + found;
}

}  // namespace vellumor

// The SDL layer's translation of SDL's events, put into SDL's own queue,
// without a display (SDL's dummy video). Windows' rules themselves are the
// emulation's, tested on their own.

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/layer.h"
#include "platform/virtual_keys.h"

namespace vellumor {

namespace {

using platform::Event;
using platform::EventKind;
using platform::sdl::layer;

std::vector<Event> received;

bool Record(const Event& event) {
  received.push_back(event);
  return true;
}

class SdlEventsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  }
  static void TearDownTestSuite() { SDL_Quit(); }

  void SetUp() override {
    window = SDL_CreateWindow("test", 0, 0, 200, 150, 0);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    layer = platform::sdl::Layer{};
    layer.window = window;
    layer.windowId = SDL_GetWindowID(window);
    platform::emulation.Reset(platform::sdl::PointerServices(true));
    platform::SetWindowProcedure(Record);
    platform::emulation.Focus(true, 0);
    platform::emulation.Size(400, 300);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    received.clear();
  }
  void TearDown() override {
    if (layer.window != nullptr) SDL_DestroyWindow(layer.window);
    layer = platform::sdl::Layer{};
  }

  // Queued as SDL queues them, timestamps as given.
  static void Queue(SDL_Event event) { ASSERT_EQ(SDL_PeepEvents(&event, 1, SDL_ADDEVENT, 0, 0), 1); }
  static std::vector<Event> DispatchAll() {
    while (platform::sdl::DispatchNext()) {
    }
    std::vector<Event> events;
    events.swap(received);
    return events;
  }

  static SDL_Event Key(bool down, SDL_Keycode sym, SDL_Scancode scancode, std::uint8_t repeat = 0,
                       std::uint16_t mod = KMOD_NONE, std::uint32_t timestamp = 0) {
    SDL_Event event{};
    event.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.timestamp = timestamp;
    event.key.windowID = layer.windowId;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym = {scancode, sym, mod, 0};
    return event;
  }
  static SDL_Event W(bool down, std::uint8_t repeat = 0, std::uint16_t mod = KMOD_NONE, std::uint32_t timestamp = 0) {
    return Key(down, SDLK_w, SDL_SCANCODE_W, repeat, mod, timestamp);
  }
  static SDL_Event Window(SDL_WindowEventID id, std::int32_t data1 = 0, std::int32_t data2 = 0,
                          std::uint32_t timestamp = 0) {
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT;
    event.window.timestamp = timestamp;
    event.window.windowID = layer.windowId;
    event.window.event = static_cast<std::uint8_t>(id);
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
  }
  static SDL_Event Motion(std::int32_t x, std::int32_t y, std::int32_t xrel, std::int32_t yrel) {
    SDL_Event event{};
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.windowID = layer.windowId;
    event.motion.x = x;
    event.motion.y = y;
    event.motion.xrel = xrel;
    event.motion.yrel = yrel;
    return event;
  }
  static SDL_Event Wheel(float notches, bool flipped = false) {
    SDL_Event event{};
    event.wheel.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = layer.windowId;
    event.wheel.preciseY = notches;
    event.wheel.y = static_cast<std::int32_t>(notches);
    event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    return event;
  }
  static SDL_Event Button(bool down, std::uint8_t button, std::int32_t x, std::int32_t y) {
    SDL_Event event{};
    event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = layer.windowId;
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    return event;
  }

  SDL_Window* window = nullptr;
};

struct Seen {
  EventKind kind;
  std::int32_t a = 0;  // key, wheel delta or x
  std::int32_t b = 0;  // repeat, active or y
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
  return out << "{kind " << static_cast<int>(s.kind) << ", " << s.a << ", " << s.b << "}";
}

std::vector<Seen> Summary(const std::vector<Event>& events) {
  std::vector<Seen> out;
  for (const Event& e : events) {
    switch (e.kind) {
      case EventKind::KeyDown: out.push_back({e.kind, e.key, e.repeat}); break;
      case EventKind::KeyUp: out.push_back({e.kind, e.key, 0}); break;
      case EventKind::Wheel: out.push_back({e.kind, e.wheelDelta, 0}); break;
      case EventKind::Activate: out.push_back({e.kind, 0, e.active}); break;
      default: out.push_back({e.kind, e.x, e.y}); break;
    }
  }
  return out;
}

constexpr EventKind Down = EventKind::KeyDown;
constexpr EventKind Up = EventKind::KeyUp;

TEST_F(SdlEventsTest, KeysArriveAsWindowsKeyCodes) {
  Queue(Key(true, SDLK_t, SDL_SCANCODE_T, 0, KMOD_LSHIFT));  // Shift does not change the letter's code
  Queue(Key(true, SDLK_F3, SDL_SCANCODE_F3));
  Queue(Key(true, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE));
  Queue(Key(true, SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY));  // no code: nothing at all
  EXPECT_EQ(Summary(DispatchAll()), (std::vector<Seen>{{Down, vk::T, 0}, {Down, vk::F3, 0}, {Down, vk::Escape, 0}}));
}

TEST_F(SdlEventsTest, ModifiersAndRepeatsReachTheEmulation) {
  Queue(Key(true, SDLK_t, SDL_SCANCODE_T, 0, KMOD_LALT));  // Alt: a system key
  Queue(Key(true, SDLK_g, SDL_SCANCODE_G, 0, KMOD_LGUI));  // Super: the desktop's
  Queue(Key(true, SDLK_y, SDL_SCANCODE_Y, 0, KMOD_LALT | KMOD_LCTRL));  // AltGr types characters
  Queue(W(true, 1));  // the X server's auto-repeat, as SDL flags it
  EXPECT_EQ(Summary(DispatchAll()), (std::vector<Seen>{{Down, vk::Y, 0}, {Down, vk::W, 1}}));
}

TEST_F(SdlEventsTest, TheKeyUpsSdlSendsAsTheFocusGoesAreDropped) {
  Queue(W(true, 0, KMOD_NONE, 100));
  // SDL releases the keys it thought down right before telling of the loss.
  Queue(W(false, 0, KMOD_NONE, 1000));
  Queue(Window(SDL_WINDOWEVENT_FOCUS_LOST, 0, 0, 1000));
  Queue(Window(SDL_WINDOWEVENT_FOCUS_GAINED, 0, 0, 2000));
  Queue(W(true, 0, KMOD_NONE, 2020));  // SDL finds W still down
  Queue(W(false, 0, KMOD_NONE, 2500));
  EXPECT_EQ(Summary(DispatchAll()), (std::vector<Seen>{{Down, vk::W, 0},
                                                       {EventKind::Activate, 0, 0},
                                                       {EventKind::Activate, 0, 1},
                                                       {Down, vk::W, 1},
                                                       {Up, vk::W, 0}}));
}

TEST_F(SdlEventsTest, QueuedMovesMergeIntoTheLatestPosition) {
  for (int i = 1; i <= 20; ++i) Queue(Motion(100 + 3 * i, 80, 3, 0));
  Queue(W(true));
  Queue(Motion(10, 20, -1, 1));
  Queue(Motion(11, 22, 1, 2));
  EXPECT_EQ(Summary(DispatchAll()),
            (std::vector<Seen>{{EventKind::MouseMove, 160, 80}, {Down, vk::W, 0}, {EventKind::MouseMove, 11, 22}}));
}

TEST_F(SdlEventsTest, PointerPositionsAreInDrawablePixels) {
  layer.pixelScale = 2.0;  // a display scaled by two
  Queue(Motion(30, 40, 0, 0));
  Queue(Button(true, SDL_BUTTON_LEFT, 31, 41));
  Queue(Button(true, SDL_BUTTON_RIGHT, 1, 1));  // only the left button counts
  Queue(Button(false, SDL_BUTTON_LEFT, 32, 42));
  Queue(Window(SDL_WINDOWEVENT_MOVED, 100, 50));
  EXPECT_EQ(Summary(DispatchAll()), (std::vector<Seen>{{EventKind::MouseMove, 60, 80},
                                                       {EventKind::LeftButtonDown, 62, 82},
                                                       {EventKind::LeftButtonUp, 64, 84},
                                                       {EventKind::Move, 200, 100}}));
}

TEST_F(SdlEventsTest, AResizeBringsTheDrawableSizeAfterTheDisplaysDpi) {
  SDL_SetWindowSize(window, 320, 240);
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  Queue(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 320, 240));
  EXPECT_EQ(Summary(DispatchAll()), (std::vector<Seen>{{EventKind::DpiChanged, 96, 0}, {EventKind::Size, 320, 240}}));
}

TEST_F(SdlEventsTest, TheWheelComesIn120thsOfANotch) {
  Queue(Wheel(1.0f));
  Queue(Wheel(-2.0f));
  Queue(Wheel(1.0f, true));  // natural scrolling: the device reports it the other way round
  Queue(Wheel(0.25f));       // precise scrolling
  EXPECT_EQ(Summary(DispatchAll()), (std::vector<Seen>{{EventKind::Wheel, 120, 0},
                                                       {EventKind::Wheel, -240, 0},
                                                       {EventKind::Wheel, -120, 0},
                                                       {EventKind::Wheel, 30, 0}}));
}

TEST_F(SdlEventsTest, WhereThePointerCannotBeWarpedLookModeGetsSdlsRelativeMotionInPixels) {
  platform::emulation.Reset(platform::sdl::PointerServices(false));
  layer.pixelScale = 2.0;
  platform::WarpCursor(228, 178);  // the look centre
  Queue(Motion(5, 5, 3, -2));
  EXPECT_EQ(Summary(DispatchAll()), (std::vector<Seen>{{EventKind::MouseMove, 234, 174}}));
  platform::UnconfineCursor();
}

TEST_F(SdlEventsTest, EventsOfOtherWindowsAreIgnored) {
  SDL_Event foreign = Window(SDL_WINDOWEVENT_FOCUS_LOST);
  foreign.window.windowID = layer.windowId + 1;
  Queue(foreign);
  EXPECT_TRUE(DispatchAll().empty());
}

}  // namespace

}  // namespace vellumor

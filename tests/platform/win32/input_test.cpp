// What the shell hears of keys, the mouse, the wheel, the capture,
// activation and the window's geometry: real input and real messages to the
// layer's real window. (Under Wine, "real input" is Wine's SendInput, which
// feeds its message queues as a Windows driver would.)
#include <algorithm>

#include "platform/virtual_keys.h"
#include "window_fixture.h"

namespace vellumor::win32test {

namespace {

using platform::CursorShape;
using platform::EventKind;

void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

void SendMouse(DWORD flags, DWORD data = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.mouseData = data;
  SendInput(1, &input, sizeof input);
}

POINT ClientOrigin(HWND window) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return origin;
}

class InputTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    SetForegroundWindow(window);
    SetFocus(window);
    PumpFor(50);
    heard.events.clear();
  }
  static std::size_t Count(EventKind kind) { return EventsOf(kind).size(); }
};

TEST_F(InputTest, AKeyHeldDownRepeatsWithThePreviousStateBitSet) {
  SendKey(vk::T, false);
  SendKey(vk::T, false);  // no key-up between: the keyboard's auto-repeat
  SendKey(vk::T, true);
  ASSERT_TRUE(PumpUntil([] { return Count(EventKind::KeyUp) == 1; }));
  const auto downs = EventsOf(EventKind::KeyDown);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].key, vk::T);
  EXPECT_FALSE(downs[0].repeat);
  EXPECT_TRUE(downs[1].repeat);
  EXPECT_EQ(EventsOf(EventKind::KeyUp)[0].key, vk::T);

  // The same bit in messages sent directly: F1's scan code, one press, then a repeat.
  heard.events.clear();
  SendMessageA(window, WM_KEYDOWN, VK_F1, 0x003B0001);
  SendMessageA(window, WM_KEYDOWN, VK_F1, 0x403B0001);
  ASSERT_EQ(Count(EventKind::KeyDown), 2u);
  EXPECT_EQ(heard.events[0].key, vk::F1);
  EXPECT_FALSE(heard.events[0].repeat);
  EXPECT_TRUE(heard.events[1].repeat);
}

TEST_F(InputTest, SystemKeyDownsAreNotPassedOnButEveryKeyUpIs) {
  // W pressed, then Alt, then W let go while Alt is down: W's release comes as
  // a system key-up, and must still end what W's press began.
  SendKey(vk::W, false);
  SendKey(VK_MENU, false);
  SendKey(vk::A, false);
  SendKey(vk::W, true);
  SendKey(vk::A, true);
  SendKey(VK_MENU, true);
  ASSERT_TRUE(PumpUntil([] { return Count(EventKind::KeyUp) >= 3; }));
  PumpFor(50);
  std::vector<std::int32_t> downs, ups;
  for (const auto& event : EventsOf(EventKind::KeyDown)) downs.push_back(event.key);
  for (const auto& event : EventsOf(EventKind::KeyUp)) ups.push_back(event.key);
  EXPECT_EQ(downs, std::vector<std::int32_t>{vk::W});  // Alt and Alt+A are the system's
  EXPECT_EQ(ups, (std::vector<std::int32_t>{vk::W, vk::A, VK_MENU}));
}

TEST_F(InputTest, WheelDeltasArriveAsTheyCome) {
  const POINT origin = ClientOrigin(window);
  SetCursorPos(origin.x + 50, origin.y + 50);
  SendMouse(MOUSEEVENTF_WHEEL, 120);
  SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-360));
  ASSERT_TRUE(PumpUntil([] { return Count(EventKind::Wheel) == 2; }));
  for (short delta : {short{-60}, short{60}, short{240}, short{-32768}}) {
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_LBUTTON, static_cast<WORD>(delta)), MAKELPARAM(150, 150));
  }
  std::vector<std::int32_t> deltas;
  for (const auto& event : EventsOf(EventKind::Wheel)) deltas.push_back(event.wheelDelta);
  EXPECT_EQ(deltas, (std::vector<std::int32_t>{120, -360, -60, 60, 240, -32768}));  // no sums, nothing dropped
}

TEST_F(InputTest, MouseMovesAndTheLeftButtonComeInClientCoordinates) {
  const POINT origin = ClientOrigin(window);
  SetCursorPos(origin.x + 10, origin.y + 20);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SetCursorPos(origin.x + 30, origin.y + 25);
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([] { return Count(EventKind::LeftButtonUp) == 1; }));
  const auto downs = EventsOf(EventKind::LeftButtonDown);
  const auto ups = EventsOf(EventKind::LeftButtonUp);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].x, 10);
  EXPECT_EQ(downs[0].y, 20);
  EXPECT_EQ(ups[0].x, 30);
  EXPECT_EQ(ups[0].y, 25);
  const auto moves = EventsOf(EventKind::MouseMove);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.back().x, 30);
  EXPECT_EQ(moves.back().y, 25);

  // Left of and above the client area, the words are negative.
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-3), static_cast<WORD>(-4)));
  EXPECT_EQ(heard.events.back().kind, EventKind::MouseMove);
  EXPECT_EQ(heard.events.back().x, -3);
  EXPECT_EQ(heard.events.back().y, -4);
}

TEST_F(InputTest, ReleasingTheCaptureReportsItsLossBeforeReturning) {
  platform::CaptureMouse();
  EXPECT_EQ(GetCapture(), window);
  platform::CaptureMouse();  // taking it again loses nothing
  EXPECT_EQ(Count(EventKind::CaptureLost), 0u);

  platform::ReleaseMouse();
  ASSERT_FALSE(heard.events.empty());
  EXPECT_EQ(heard.events.back().kind, EventKind::CaptureLost);  // heard inside the call, no pumping
  EXPECT_EQ(GetCapture(), nullptr);
  platform::ReleaseMouse();  // not held: nothing to lose
  EXPECT_EQ(Count(EventKind::CaptureLost), 1u);

  // Another window taking it is a loss too.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 500, 500, 40, 40, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  platform::CaptureMouse();
  SetCapture(other);
  EXPECT_EQ(Count(EventKind::CaptureLost), 2u);
  ReleaseCapture();
  DestroyWindow(other);
  EXPECT_EQ(Count(EventKind::CaptureLost), 2u);
}

// A window of another thread stands in for another application.
DWORD WINAPI RunOtherWindow(void* created) {
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 300, 200, 150, nullptr,
                               nullptr, nullptr, nullptr);
  *static_cast<HWND*>(created) = other;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  DestroyWindow(other);
  return 0;
}

TEST_F(InputTest, ActivationOfAnotherApplicationAndBack) {
  HWND other = nullptr;
  DWORD threadId = 0;
  HANDLE thread = CreateThread(nullptr, 0, RunOtherWindow, &other, 0, &threadId);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return other != nullptr; }));

  SetForegroundWindow(other);
  EXPECT_TRUE(PumpUntil([] { return Count(EventKind::Activate) >= 1; }));
  SetForegroundWindow(window);
  EXPECT_TRUE(PumpUntil([] { return Count(EventKind::Activate) >= 2; }));
  const auto activations = EventsOf(EventKind::Activate);
  ASSERT_GE(activations.size(), 2u);
  EXPECT_FALSE(activations.front().active);
  EXPECT_TRUE(activations.back().active);

  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  CloseHandle(thread);

  // wParam 1 is activation, anything else is not.
  heard.events.clear();
  for (WPARAM wParam : {1, 0, 2}) SendMessageA(window, WM_ACTIVATEAPP, wParam, 0);
  ASSERT_EQ(heard.events.size(), 3u);
  EXPECT_TRUE(heard.events[0].active);
  EXPECT_FALSE(heard.events[1].active);
  EXPECT_FALSE(heard.events[2].active);
}

TEST_F(InputTest, SizeAndMoveFollowTheClientArea) {
  const auto expectClientArea = [this] {
    RECT client{};
    GetClientRect(window, &client);
    const POINT origin = ClientOrigin(window);
    ASSERT_FALSE(EventsOf(EventKind::Size).empty());
    ASSERT_FALSE(EventsOf(EventKind::Move).empty());
    EXPECT_EQ(EventsOf(EventKind::Size).back().x, client.right);
    EXPECT_EQ(EventsOf(EventKind::Size).back().y, client.bottom);
    EXPECT_EQ(EventsOf(EventKind::Move).back().x, origin.x);
    EXPECT_EQ(EventsOf(EventKind::Move).back().y, origin.y);
  };
  MoveWindow(window, 40, 50, 300, 200, TRUE);
  expectClientArea();
  EXPECT_GT(EventsOf(EventKind::Size).back().x, 256 - 20);

  MoveWindow(window, -60, -70, 300, 200, TRUE);
  expectClientArea();
  EXPECT_LT(EventsOf(EventKind::Move).back().x, 0);
  EXPECT_LT(EventsOf(EventKind::Move).back().y, 0);

  ShowWindow(window, SW_MINIMIZE);
  PumpFor(100);
  ASSERT_FALSE(EventsOf(EventKind::Size).empty());
  EXPECT_EQ(EventsOf(EventKind::Size).back().x, 0);
  EXPECT_EQ(EventsOf(EventKind::Size).back().y, 0);
  EXPECT_GT(EventsOf(EventKind::Move).back().x, -100);  // not the minimised window's -32000
  ShowWindow(window, SW_RESTORE);
  PumpFor(100);
  EXPECT_GT(EventsOf(EventKind::Size).back().x, 0);
}

TEST_F(InputTest, CursorShapesAreTheSystemsArrowFourHeadedArrowAndNone) {
  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  const HCURSOR sizeAll = LoadCursorA(nullptr, IDC_SIZEALL);
  platform::SetCursorShape(CursorShape::Arrow);
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(platform::SetCursorShape(CursorShape::SizeAll), CursorShape::Arrow);
  EXPECT_EQ(GetCursor(), sizeAll);
  EXPECT_EQ(platform::SetCursorShape(CursorShape::Hidden), CursorShape::SizeAll);
  EXPECT_EQ(GetCursor(), nullptr);
  EXPECT_EQ(platform::SetCursorShape(CursorShape::Arrow), CursorShape::Hidden);
  EXPECT_EQ(GetCursor(), arrow);

  // While the window holds the capture, moves leave the cursor as set...
  const POINT origin = ClientOrigin(window);
  platform::CaptureMouse();
  platform::SetCursorShape(CursorShape::Hidden);
  heard.events.clear();
  SetCursorPos(origin.x + 40, origin.y + 40);
  ASSERT_TRUE(PumpUntil([] { return Count(EventKind::MouseMove) >= 1; }));
  SetCursorPos(origin.x + 60, origin.y + 50);
  ASSERT_TRUE(PumpUntil([] { return Count(EventKind::MouseMove) >= 2; }));
  EXPECT_EQ(GetCursor(), nullptr);
  platform::ReleaseMouse();

  // ...and without it, a move over the client area brings back the class's arrow.
  platform::SetCursorShape(CursorShape::SizeAll);
  heard.events.clear();
  SetCursorPos(origin.x + 20, origin.y + 30);
  ASSERT_TRUE(PumpUntil([] { return Count(EventKind::MouseMove) >= 1; }));
  PumpFor(50);
  EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(InputTest, TheCursorIsConfinedWarpedAndFreed) {
  platform::ConfineCursor({10, 20, 110, 220});
  RECT clip{};
  GetClipCursor(&clip);
  EXPECT_EQ(clip.left, 10);
  EXPECT_EQ(clip.top, 20);
  EXPECT_EQ(clip.right, 110);
  EXPECT_EQ(clip.bottom, 220);
  platform::WarpCursor(500, 500);
  POINT at{};
  GetCursorPos(&at);
  EXPECT_EQ(at.x, 109);  // the clip's right and bottom edges are outside it
  EXPECT_EQ(at.y, 219);

  platform::UnconfineCursor();
  GetClipCursor(&clip);
  EXPECT_EQ(clip.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(clip.right - clip.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  platform::WarpCursor(300, 310);
  GetCursorPos(&at);
  EXPECT_EQ(at.x, 300);
  EXPECT_EQ(at.y, 310);
}

}  // namespace

}  // namespace vellumor::win32test

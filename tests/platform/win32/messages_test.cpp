// The translation of window messages into events, driven directly with the
// values that are hard to make a real window produce.
#include "platform/win32/messages.h"

#include <gtest/gtest.h>

namespace vellumor::platform::win32 {

namespace {

HWND const kSelf = reinterpret_cast<HWND>(0x1000);

struct Translated {
  bool heard = false;
  Event event;
};

Translated Translate(UINT message, WPARAM wParam, LPARAM lParam) {
  Translated t;
  t.heard = EventFromMessage(kSelf, message, wParam, lParam, t.event);
  return t;
}

TEST(MessagesTest, WordsOfTheParametersKeepTheirSigns) {
  // Positions are signed words, sizes unsigned; the extreme words of each.
  const LPARAM extremes = MAKELPARAM(0x8000, 0xFFFF);
  for (UINT message : {UINT{WM_MOVE}, UINT{WM_MOUSEMOVE}, UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP}}) {
    const Translated t = Translate(message, 0, extremes);
    ASSERT_TRUE(t.heard) << message;
    EXPECT_EQ(t.event.x, -32768) << message;
    EXPECT_EQ(t.event.y, -1) << message;
  }
  const Translated size = Translate(WM_SIZE, SIZE_RESTORED, extremes);
  EXPECT_EQ(size.event.kind, EventKind::Size);
  EXPECT_EQ(size.event.x, 32768);
  EXPECT_EQ(size.event.y, 65535);

  // The wheel's delta is the high word of wParam, whatever the low word's button flags.
  const Translated wheel = Translate(WM_MOUSEWHEEL, MAKEWPARAM(MK_LBUTTON | MK_SHIFT, 0xFF88), 0);
  EXPECT_EQ(wheel.event.kind, EventKind::Wheel);
  EXPECT_EQ(wheel.event.wheelDelta, -120);
}

TEST(MessagesTest, KeysAreTheirVirtualKeyCodesWithTheRepeatBit) {
  const Translated first = Translate(WM_KEYDOWN, 'W', 0x00110001);
  EXPECT_EQ(first.event.kind, EventKind::KeyDown);
  EXPECT_EQ(first.event.key, 'W');
  EXPECT_FALSE(first.event.repeat);
  // Only bit 30 says "repeat"; the transition bit 31 and the count do not.
  EXPECT_TRUE(Translate(WM_KEYDOWN, 'W', 0x40110001).event.repeat);
  EXPECT_FALSE(Translate(WM_KEYDOWN, 'W', 0x00110005).event.repeat);
  EXPECT_FALSE(Translate(WM_KEYDOWN, 'W', static_cast<LPARAM>(0x80110001u)).event.repeat);
  const Translated up = Translate(WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
  EXPECT_EQ(up.event.kind, EventKind::KeyUp);
  EXPECT_EQ(up.event.key, VK_ESCAPE);
}

TEST(MessagesTest, MessagesTheShellDoesNotHandleAreNotHeard) {
  for (UINT message : {UINT{WM_SYSKEYDOWN}, UINT{WM_CHAR}, UINT{WM_SYSCHAR}, UINT{WM_RBUTTONDOWN},
                       UINT{WM_MBUTTONDOWN}, UINT{WM_MOUSEHWHEEL}, UINT{WM_SETCURSOR}, UINT{WM_CLOSE}, UINT{WM_ACTIVATE},
                       UINT{WM_NCDESTROY}}) {
    EXPECT_FALSE(Translate(message, VK_F10, 0x20000001).heard) << message;
  }
}

}  // namespace

}  // namespace vellumor::platform::win32

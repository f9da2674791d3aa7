// The web layer's reading of the browser's keys and wheel.

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "platform/web/browser_input.h"

namespace vellumor::platform::web {

namespace {

TEST(BrowserInputTest, KeysBecomeVirtualKeyCodes) {
  struct Case {
    const char* code;       // KeyboardEvent.code: the key's place
    std::uint32_t keyCode;  // KeyboardEvent.keyCode: what the layout makes of it
    std::int32_t expected;
  };
  const Case cases[] = {
      {"KeyT", 'T', 'T'},  {"KeyY", 'Z', 'Z'},  // letters by the layout (a German Z)...
      {"KeyQ", 0xBA, 'Q'},                      // ...by the place where it has no Latin letter
      {"Digit9", 0xDE, '9'},                    // digits by the place (a French 9 types "ç")
      {"Numpad0", 96, 96}, {"F4", 0, 115},     {"F24", 135, 135},
      {"Escape", 27, 27},  {"ArrowLeft", 37, 37}, {"Unidentified", 0, 0}, {"Lang1", 300, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromBrowser(c.code, c.keyCode), c.expected) << c.code;
}

// Fractions are the emulation's to keep; here only the units.
TEST(BrowserInputTest, TheWheelComesIn120thsOfANotch) {
  EXPECT_EQ(WheelUnits(100.0, WheelMode::Pixels), -120.0);  // a Chromium notch towards the user
  EXPECT_EQ(WheelUnits(-3.0, WheelMode::Lines), 120.0);     // a Firefox notch away
  EXPECT_EQ(WheelUnits(1.0, WheelMode::Pages), -120.0);
  EXPECT_EQ(WheelUnits(0.5, WheelMode::Pixels), -0.6);
}

}  // namespace

}  // namespace vellumor::platform::web

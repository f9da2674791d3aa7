// The web layer's reading of the browser's keys and wheel.

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "platform/virtual_keys.h"
#include "platform/web/browser_input.h"

namespace vellumor::platform::web {

namespace {

struct KeyCase {
  const char* code;        // KeyboardEvent.code: the key's place
  std::uint32_t keyCode;   // KeyboardEvent.keyCode: what the layout makes of it
  std::int32_t expected;
};

TEST(BrowserInputTest, KeysBecomeVirtualKeyCodes) {
  const KeyCase cases[] = {
      {"KeyT", 'T', vk::T},             // letters by the layout...
      {"KeyY", 'Z', 'Z'},               // ...a German keyboard's Z
      {"KeyQ", 0xBA, 'Q'},              // no Latin letter there: by place
      {"Digit1", 0x31, vk::Digit1},     // digits by place
      {"Digit9", 0xDE, vk::Digit9},     // a French keyboard's 9 types "ç"
      {"Numpad0", 96, 96},              // the keypad is not the digits
      {"F1", 112, vk::F1},
      {"F4", 0, vk::F4},
      {"F24", 135, 135},
      {"Escape", 27, vk::Escape},
      {"Space", 32, vk::Space},
      {"ArrowLeft", 37, 37},            // the rest: the legacy code
      {"Unidentified", 0, 0},
      {"Lang1", 300, 0},                // past the table
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(VirtualKeyFromBrowser(c.code, c.keyCode), c.expected) << c.code << " " << c.keyCode;
  }
}

TEST(BrowserInputTest, TheViewersKeysAreKeptFromTheBrowser) {
  for (std::int32_t key : {vk::Escape, vk::Space, vk::Digit0, vk::Digit9, vk::W, vk::Y, vk::F1, vk::F4}) {
    EXPECT_TRUE(IsViewerKey(key)) << key;
  }
  for (std::int32_t key : {9, 37, vk::Digit0 + 3, std::int32_t{'C'}, 116 /* F5 */, 123 /* F12 */}) {
    EXPECT_FALSE(IsViewerKey(key)) << key;
  }
  EXPECT_TRUE(IsBrowserShortcut(true, false, false));    // Alt+T
  EXPECT_FALSE(IsBrowserShortcut(true, true, false));    // Ctrl+Alt types characters
  EXPECT_TRUE(IsBrowserShortcut(false, false, true));    // Command+R
  EXPECT_FALSE(IsBrowserShortcut(false, true, false));   // Ctrl+T reaches the viewer, as on Windows
}

struct WheelCase {
  const char* what;
  std::vector<std::pair<double, WheelGatherer::Mode>> deltas;
  std::vector<std::int32_t> expected;  // units given back, one per delta
};

TEST(BrowserInputTest, TheWheelComesIn120thsOfANotch) {
  using Mode = WheelGatherer::Mode;
  const WheelCase cases[] = {
      {"a Chromium notch towards the user", {{100.0, Mode::Pixels}}, {-120}},
      {"a Firefox notch away from the user", {{-3.0, Mode::Lines}}, {120}},
      {"a page", {{1.0, Mode::Pages}}, {-120}},
      {"touchpad fractions add up", {{0.5, Mode::Pixels}, {0.5, Mode::Pixels}, {-2.5, Mode::Pixels}}, {0, -1, 2}},
      {"a Linux notch of 53 pixels keeps its fraction", {{53.0, Mode::Pixels}, {53.0, Mode::Pixels}}, {-63, -64}},
      {"nothing from NaN", {{std::nan(""), Mode::Pixels}, {100.0, Mode::Pixels}}, {0, -120}},
  };
  for (const WheelCase& c : cases) {
    WheelGatherer wheel;
    std::vector<std::int32_t> units;
    for (const auto& [delta, mode] : c.deltas) units.push_back(wheel.Take(delta, mode));
    EXPECT_EQ(units, c.expected) << c.what;
  }
}

}  // namespace

}  // namespace vellumor::platform::web

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

TEST(BrowserInputTest, TheWheelComesIn120thsOfANotch) {
  using Mode = WheelGatherer::Mode;
  const std::pair<std::vector<std::pair<double, Mode>>, std::vector<std::int32_t>> cases[] = {
      {{{100.0, Mode::Pixels}}, {-120}},  // a Chromium notch towards the user
      {{{-3.0, Mode::Lines}}, {120}},     // a Firefox notch away
      {{{1.0, Mode::Pages}}, {-120}},
      {{{0.5, Mode::Pixels}, {0.5, Mode::Pixels}, {-2.5, Mode::Pixels}}, {0, -1, 2}},  // fractions add up
      {{{53.0, Mode::Pixels}, {53.0, Mode::Pixels}}, {-63, -64}},
      {{{std::nan(""), Mode::Pixels}, {100.0, Mode::Pixels}}, {0, -120}},
  };
  for (const auto& [deltas, expected] : cases) {
    WheelGatherer wheel;
    std::vector<std::int32_t> units;
    for (const auto& [delta, mode] : deltas) units.push_back(wheel.Take(delta, mode));
    EXPECT_EQ(units, expected);
  }
}

}  // namespace

}  // namespace vellumor::platform::web

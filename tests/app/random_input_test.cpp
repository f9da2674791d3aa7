// Long random input sequences through the window procedure, read by the same
// driver as the window procedure fuzzer (testing/event_driver.h), from fixed
// seeds, so that a failure names its seed and event and can be replayed:
// contract events, and a host's events through the emulation of Windows.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/virtual_keys.h"
#include "testing/allocation_counter.h"
#include "testing/event_driver.h"
#include "testing/shell_invariants.h"
#include "support/app_fixture.h"

namespace vellumor {

namespace {

TEST(RandomInputTest, NoSequenceOfEventsBreaksThePointerTheFrameOrTheMemory) {
  using Host = EventDriver::Host;
  constexpr std::uint32_t kSeeds[] = {1, 2, 3, 20250101};
  constexpr int kEvents = 5000;
  for (const Host host : {Host::None, Host::Warping, Host::Relative})
  for (const std::uint32_t seed : kSeeds) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed << ", host " << static_cast<int>(host));
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> bytes(kEvents * 8);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(rng());
    fuzz::Input in(bytes.data(), bytes.size());

    EventDriver driver(kEvents, false, host);
    int modesSeen[3] = {};
    for (int n = 0; n < kEvents; ++n) {
      ASSERT_TRUE(driver.Next(in)) << driver.Problem();
      ++modesSeen[static_cast<int>(shell.pointer.mouseMode)];
    }
    // The sequence went everywhere it should have.
    EXPECT_GT(modesSeen[0], 0);
    EXPECT_GT(modesSeen[1], 0);
    EXPECT_GT(modesSeen[2], 0);
    EXPECT_GT(driver.Frames(), kEvents / 20);

    // However long it ran, a steady view then allocates nothing per frame.
    for (const std::int32_t key : invariants::kHeldKeys) fake::Send({.kind = platform::EventKind::KeyUp, .key = key});
    fake::Send({.kind = platform::EventKind::KeyDown, .key = vk::Space});
    fake::Send({.kind = platform::EventKind::Size, .x = 240, .y = 217});
    for (int frame = 0; frame < 3; ++frame) RenderFrame();
    const std::size_t allocations = alloccount::Count();
    for (int frame = 0; frame < 50; ++frame) {
      fake::state.tick += 16;
      RenderFrame();
    }
    EXPECT_EQ(alloccount::Count(), allocations);
    driver.Finish();  // and it still ends the way it always does
    EXPECT_EQ(driver.Problem(), "");
  }
}

}  // namespace

}  // namespace vellumor

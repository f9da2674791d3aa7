#pragma once
// The shell's tests start from the program's start-up state, with the fake
// platform attached to the window procedure and the recording GL emptied.

#include <gtest/gtest.h>

#include "app/frame.h"
#include "app/globals.h"
#include "app/shell_state.h"
#include "app/pointer.h"
#include "app/shell.h"
#include "platform/virtual_keys.h"
#include "testing/fake_platform.h"
#include "testing/program_state.h"
#include "testing/recording_gl.h"

namespace vellumor {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgramState(); }

  static bool Send(platform::EventKind kind, std::int32_t x = 0, std::int32_t y = 0) {
    return fake::Send({.kind = kind, .x = x, .y = y});
  }
  static void Key(std::int32_t key, bool repeat = false) {
    fake::Send({.kind = platform::EventKind::KeyDown, .key = key, .repeat = repeat});
  }
  static void KeyUp(std::int32_t key) { fake::Send({.kind = platform::EventKind::KeyUp, .key = key}); }
  static void Wheel(std::int32_t delta) { fake::Send({.kind = platform::EventKind::Wheel, .wheelDelta = delta}); }
  static void Activate(bool active) { fake::Send({.kind = platform::EventKind::Activate, .active = active}); }
  // Create, then the first Size and Move, as the platform sends them.
  static void OpenWindow(std::int32_t width = 240, std::int32_t height = 217, std::int32_t x = 108,
                         std::int32_t y = 131) {
    Send(platform::EventKind::Create);
    Send(platform::EventKind::Size, width, height);
    Send(platform::EventKind::Move, x, y);
    fake::TakeLog();
  }
};

}  // namespace vellumor

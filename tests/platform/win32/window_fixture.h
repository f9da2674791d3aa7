#pragma once
// The Win32 layer's one window, opened for a test with a window procedure
// that records the events it hears, and messages pumped as the loop would.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/platform.h"

namespace vellumor::win32test {

struct Heard {
  std::vector<platform::Event> events;  // everything but Paint
  int paints = 0;
  std::uint32_t fontListBase = 0;
  bool refuseCreate = false;
  std::function<void()> onPaint;  // run for each Paint, if set
};

extern Heard heard;

// Create sets up the GL context and the font, as the shell does; Destroy quits with 0.
bool RecordEvent(const platform::Event& event);

// Dispatches messages until `done` holds or `ms` milliseconds have passed; whether it held.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000);
// Dispatches for a while, for input that should have no effect.
void PumpFor(DWORD ms);

// Events of one kind heard so far.
std::vector<platform::Event> EventsOf(platform::EventKind kind);

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenWindow(); }
  void TearDown() override;
  // Opens the window, with a fresh record of what is heard.
  void OpenWindow();

  HWND window = nullptr;  // found by its class and title, as any program could
};

}  // namespace vellumor::win32test

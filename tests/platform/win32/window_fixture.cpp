#include "window_fixture.h"

namespace vellumor::win32test {

using platform::Event;
using platform::EventKind;

Heard heard;

bool RecordEvent(const Event& event) {
  if (event.kind == EventKind::Paint) {
    ++heard.paints;
    if (heard.onPaint) heard.onPaint();
    return true;
  }
  heard.events.push_back(event);
  switch (event.kind) {
    case EventKind::Create:
      if (heard.refuseCreate || !platform::CreateRenderingContext()) return false;
      heard.fontListBase = platform::CreateFontLists(platform::kPlainDpi);
      return heard.fontListBase != 0;
    case EventKind::Destroy:
      platform::Quit(0);
      return true;
    default:
      return true;
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  MSG message;
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    } else {
      Sleep(1);
    }
  }
  return true;
}

void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

std::vector<Event> EventsOf(EventKind kind) {
  std::vector<Event> found;
  for (const Event& event : heard.events) {
    if (event.kind == kind) found.push_back(event);
  }
  return found;
}

void WindowTest::OpenWindow() {
  heard = Heard{};
  ASSERT_TRUE(platform::CreateMainWindow({"vellumor", "Vellumor", 100, 100, 256, 256}, RecordEvent))
      << platform::FailureReason();
  window = FindWindowA("vellumor", "Vellumor");
  ASSERT_NE(window, nullptr);
}

void WindowTest::TearDown() {
  platform::UnconfineCursor();
  platform::DestroyWindow();
  // Leaves no quit message behind for the next test's loop.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  EXPECT_EQ(FindWindowA("vellumor", nullptr), nullptr);
}

}  // namespace vellumor::win32test

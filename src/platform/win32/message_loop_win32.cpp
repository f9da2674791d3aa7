// The message loop: input as it comes, a paint whenever the queue is otherwise
// empty, until the quit message.

#include "platform/win32/layer.h"

namespace vellumor::platform {

int RunMessageLoop() {
  MSG message{};
  BOOL got = 0;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    // A paint is always due, so the loop never waits for messages. Wine
    // reads the display's input only when a thread waits, or after 200
    // messages without a wait: seconds at these frame rates. A wait of no
    // time after each frame lets it; on Windows it merely looks at the queue.
    if (message.message == WM_PAINT) MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
  }
  // A quit before the window went (never the program's own way out) takes
  // the window down without telling the shell.
  SetWindowProcedure(nullptr);
  if (win32::layer.windowHandle != nullptr) ::DestroyWindow(win32::layer.windowHandle);
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void Quit(int exitCode) { PostQuitMessage(exitCode); }

std::uint32_t TickCount() { return GetTickCount(); }

}  // namespace vellumor::platform

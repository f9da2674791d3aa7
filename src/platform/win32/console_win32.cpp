// Ctrl+C, Ctrl+Break and closing the console end the program as the window's
// close button does. Windows calls the handler on a thread of its own, so it
// only posts the request to the window's thread, where the usual shutdown runs.

#include <atomic>

#include "platform/win32/layer.h"

namespace vellumor::platform::win32 {

namespace {

std::atomic<HWND> closeTarget{nullptr};
bool installed = false;

}  // namespace

void HandleConsoleControl(HWND window) {
  closeTarget.store(window);
  if (window != nullptr && !installed) installed = SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
}

BOOL WINAPI OnConsoleControl(DWORD type) {
  HWND window = closeTarget.load();
  if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
  if (type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT) return TRUE;
  // Closing the console (or logging off, shutting down): Windows ends the
  // process as soon as this returns. Wait instead; the window's thread
  // finishes the program and its exit ends this thread too.
  if (window != nullptr) Sleep(INFINITE);
  return FALSE;
}

}  // namespace vellumor::platform::win32

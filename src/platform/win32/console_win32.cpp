// Where a start-up failure is told, and Ctrl+C, Ctrl+Break and closing the
// console, which end the program as the window's close button does.
// Windows calls the control handler on a thread of its own, so it only posts
// the request to the window's thread, where the usual shutdown runs.

#include <atomic>
#include <cstdio>
#include <string>

#include "platform/win32/layer.h"

namespace vellumor::platform::win32 {

namespace {

std::atomic<HWND> closeTarget{nullptr};
bool installed = false;

}  // namespace

// A GUI program gets no console, so Explorer opens none beside the window.
// Started from a console it joins its parent's, where the failure line is
// read and Ctrl+C reaches it; output its starter redirected stays redirected.
bool ConnectErrorOutput() {
  static const bool connected = [] {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE) return true;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    return std::freopen("CONOUT$", "w", stderr) != nullptr;
  }();
  return connected;
}

void ShowFailureIfUnheard(const char* title) {
  if (ConnectErrorOutput()) return;
  const std::string text = std::string(title) + " cannot start: " + FailureReason();
  MessageBoxA(nullptr, text.c_str(), title, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

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

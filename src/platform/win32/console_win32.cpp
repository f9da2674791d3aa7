// Where a start-up failure is told, and Ctrl+C, Ctrl+Break and closing the
// console, which end the program as the window's close button does.
// Windows calls the control handler on a thread of its own, so it only posts
// the request to the window's thread, where the usual shutdown runs.

#include <atomic>
#include <string>

#include "platform/win32/layer.h"

namespace vellumor::platform::win32 {

namespace {

std::atomic<HWND> closeTarget{nullptr};
bool installed = false;

enum class ErrorOutput {
  Inherited,      // stderr was handed over (a redirection, a console program's start)
  ParentConsole,  // joined the console the program was started from
  Nowhere,        // started from Explorer or a shortcut
};

// A GUI program gets no console, so Explorer opens none beside the window.
// Started from a console it joins that one, where Ctrl+C reaches it and a
// start-up failure can be read.
ErrorOutput Connect() {
  static const ErrorOutput output = [] {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE) return ErrorOutput::Inherited;
    return AttachConsole(ATTACH_PARENT_PROCESS) ? ErrorOutput::ParentConsole : ErrorOutput::Nowhere;
  }();
  return output;
}

}  // namespace

void JoinParentConsole() { Connect(); }

void TellStartFailure(const WindowPlacement& placement) {
  switch (Connect()) {
    case ErrorOutput::Inherited:
      return;  // the program says why on its stderr
    case ErrorOutput::ParentConsole: {
      // The C runtime set up stderr before there was a console to join, so
      // the program's own line would go nowhere: the same line, written here.
      const std::string line = std::string(placement.className) + ": " + FailureReason() + "\r\n";
      HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
      if (console == INVALID_HANDLE_VALUE) return;
      DWORD written = 0;
      WriteFile(console, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(console);
      return;
    }
    case ErrorOutput::Nowhere: {
      const std::string text = std::string(placement.title) + " cannot start: " + FailureReason();
      MessageBoxA(nullptr, text.c_str(), placement.title, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
      return;
    }
  }
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

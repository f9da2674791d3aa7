#pragma once
// Window messages as the shell's events.

#include <windows.h>

#include "platform/platform.h"

namespace vellumor::platform::win32 {

// The event a message to `window` means, if it means one; false for messages
// the shell does not hear about (among them WM_SYSKEYDOWN, the move of a
// minimised window, and a capture change that leaves the capture with
// `window` itself).
bool EventFromMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Event& event);

}  // namespace vellumor::platform::win32

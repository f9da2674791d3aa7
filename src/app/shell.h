#pragma once
// The window procedure: every event of the window, handed to the frame, the
// keys and the pointer.

#include "platform/platform.h"

namespace vellumor {

bool WindowProc(const platform::Event& event);

}  // namespace vellumor

#pragma once

namespace vellumor {

// The entry function: opens the window and runs the message loop. Returns the
// process exit code; prints one line on stderr when the program cannot start.
int RunProgram();

}  // namespace vellumor

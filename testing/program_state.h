#pragma once
// Puts every global of the program back to its start-up state, with the fake
// platform attached to the window procedure and the recording GL emptied.
// The held-key bindings go too; a Create event binds them again.

namespace vellumor {

void ResetProgramState();

}  // namespace vellumor

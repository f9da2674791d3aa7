#pragma once
// What every platform layer shares, written once: the shell's window
// procedure and the delivery of events to it, the one-line failure reason,
// the size of the font's glyph table and the checks that come before making
// the rendering context and the font lists.

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace vellumor::platform {

// One display list per character code 0..255.
inline constexpr int kGlyphCount = 256;
inline constexpr const char* kNoRoomForGlyphs = "no font: OpenGL has no room for the glyph lists";

// The window procedure events go to; null before the window and after the loop ends.
void SetWindowProcedure(WindowProcedure procedure);
// Hands the event to the window procedure; true when there is none.
bool Deliver(const Event& event);

// What FailureReason returns until the next failure.
void SetFailure(const std::string& reason);

// Before making the rendering context: Make when there is a window and no
// context yet; AlreadyMade when it exists; NoWindow (failure set) otherwise.
enum class ContextStep { Make, AlreadyMade, NoWindow };
ContextStep BeforeRenderingContext(bool hasWindow, bool hasContext);

// Before making the font lists: false, with the failure set, without a context.
bool BeforeFontLists(bool hasContext);

}  // namespace vellumor::platform

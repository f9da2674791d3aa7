#pragma once
// Drives the window procedure with events read from bytes, against the fake
// platform and the recording GL, and checks after every event that the
// pointer is in a state the pointer table allows and that the held-key
// actions are the presses not yet released; after every frame, that the GL
// stacks are balanced, the grid is within its cap and GL was handed no
// infinity or NaN unless the scene holds one. The window procedure fuzzer
// feeds it libFuzzer's bytes; the random-input test feeds it seeded random
// bytes.
//
// Frames are kept cheap, so that thousands of events run per second: the
// grid unit stays at 2560 or coarser, the field of view between 10 and 150
// degrees and the octaves at 8 or fewer (a key that would go further is
// dropped). The grid and height fuzzers take the parameters to every extreme.
//
// Through the emulation, the input is a host's events instead (keys with
// modifiers and repeats, focus, fractional wheel turns, relative motion,
// sizes, the capture taken away), which the shared emulation of Windows
// turns into the window procedure's; then also checked: no key-up without
// its key-down, even across focus changes, one CaptureLost per capture, and
// a Size only when the size changed.
//
// VELLUMOR_FUZZ_TRACE=1 prints the events as they are sent.

#include <bitset>
#include <cstdint>
#include <string>

#include "testing/byte_reader.h"
#include "testing/shell_invariants.h"

namespace vellumor {

class EventDriver {
 public:
  // A fresh program whose window has been created, sized and placed; at most
  // maxFrames frames are drawn. Without quitEarly, Escape waits for Finish.
  // Through the emulation the input's events are a host's: one that can warp
  // the pointer (X11), or one where look mode runs on relative motion.
  enum class Host { None, Warping, Relative };
  EventDriver(int maxFrames, bool quitEarly, Host host = Host::None);
  ~EventDriver();

  // One step of the input: an event, or two where the system sends two at
  // once. False once the program has ended or a check failed.
  bool Next(fuzz::Input& in);

  // Escape, unless the input pressed it already: the program must end the way it always does.
  void Finish();

  // The first check that failed, with the event after which it failed; empty while all hold.
  const std::string& Problem() const { return problem; }
  int Frames() const { return frames; }

 private:
  void Step(fuzz::Input& in);
  void HostStep(fuzz::Input& in);
  void Frame(fuzz::Input& in, unsigned form);
  bool Deliver(const platform::Event& event);  // the window procedure's answer
  static bool Heard(const platform::Event& event);  // the window procedure, as the emulation calls it
  void DeliverAt(platform::EventKind kind, fuzz::Input& in, unsigned form);  // an event at a point read from the input
  void LoseCapture();
  void Check(const std::string& found);

  int maxFrames;
  bool quitEarly;
  bool throughEmulation;
  std::bitset<256> heardDown;  // keys the procedure heard go down (or the host pressed as system keys)
  bool captureHeld = false;    // the emulation holds the capture for the shell
  std::int32_t sentWidth = -1, sentHeight = -1;
  invariants::HeldKeyPresses presses;
  int events = 0;
  int frames = 0;
  std::string problem;
};

}  // namespace vellumor

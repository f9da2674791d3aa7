// The window procedure under any sequence of events: keys from the whole key
// table and beyond it, pointer moves with any coordinates, buttons, wheel
// deltas, activation, lost capture, size, move and frames at any clock step
// (testing/event_driver.h says what is checked). Every input ends with
// Escape, which must end the program with exit code 0. An input draws at
// most 24 frames, so that thousands of inputs run per second.
//
// An input that begins with the byte 0xE5 or 0xE6 is a host's events instead,
// through the emulation of Windows the SDL and web layers share: a host that
// warps the pointer, or one where look mode runs on relative motion.
//
// VELLUMOR_FUZZ_TRACE=1 prints the events as they are sent, to turn a finding
// into a test.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "testing/byte_reader.h"
#include "testing/event_driver.h"
#include "testing/program_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using Host = vellumor::EventDriver::Host;
  Host host = Host::None;
  if (size > 0 && (data[0] == 0xE5 || data[0] == 0xE6)) {
    host = data[0] == 0xE5 ? Host::Warping : Host::Relative;
    ++data;
    --size;
  }
  vellumor::fuzz::Input in(data, size);
  vellumor::EventDriver driver(24, true, host);
  while (!in.Empty() && driver.Next(in)) {
  }
  driver.Finish();
  if (!driver.Problem().empty()) {
    std::fprintf(stderr, "window procedure fuzzer: %s\n", driver.Problem().c_str());
    std::abort();
  }
  // Frees what the input allocated, so that every input leaves the heap as it found it.
  vellumor::ResetProgramState();
  return 0;
}

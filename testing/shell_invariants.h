#pragma once
// What must hold after every event the window procedure handles and after
// every frame, whatever events and parameters came before. The random-input
// tests and the window-procedure fuzzer check the same things through these.
// Each check returns an empty string when it holds, and otherwise says what
// it found.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "terrain/terrain.h"

namespace vellumor::invariants {

inline constexpr std::int32_t kHeldKeys[] = {vk::A, vk::D, vk::W, vk::S, vk::Space};
inline constexpr std::size_t kMaxGridDoubles = 3 * static_cast<std::size_t>(kMaxGridSamples);

// For each held key, the key-downs (not auto-repeats) since its last key-up:
// how often its action must stand in the active list.
struct HeldKeyPresses {
  std::map<std::int32_t, std::size_t> downs;

  // Every event sent to the window procedure, in order; losing the focus
  // ends every held-key action.
  void Note(const platform::Event& event);
};

// The pointer table against what the platform was told: no capture without a
// mode; a drag holds the capture, confined, with the four-headed arrow; look
// mode with the capture hides and confines the cursor; without the capture
// the cursor is the arrow and free.
std::string PointerProblem();

// The active held-key actions are exactly the presses not yet released.
std::string HeldKeyProblem(const HeldKeyPresses& presses);

// After a frame: every push popped, no open glBegin, and the state the text
// overlay leaves for the next frame: depth test and lighting off, blending on.
std::string FrameGlProblem();

// The grid stays within its sample cap (or is not there), holds what it says
// it holds, and its storage has at most doubled past the cap while growing.
std::string GridProblem(const Terrain& terrain);

// Every parameter of the scene is finite: the terrain's noise parameters and
// unit, both cameras, the mover and the look angles.
bool SceneFinite();

// Taken just before a frame: a frame may hand GL an infinity or NaN only
// where the scene held a parameter that is not finite, before or after it.
struct FrameStart {
  bool sceneFinite;
  std::size_t nonFiniteCalls;  // calls given an infinity or NaN so far

  FrameStart();
  // After the frame.
  std::string NonFiniteProblem() const;
};

}  // namespace vellumor::invariants

#pragma once
// The five held keys that drive the mover.

#include <memory>
#include <vector>

#include "actions/action.h"
#include "actions/action_registry.h"
#include "terrain/mover.h"

namespace vellumor {

inline constexpr double kTurnStep = 0.0872664625997164739;  // 5 degrees in radians

// The actions hold plain functions, so the mover they drive is kept beside
// them. The actions live until the process ends.
struct HeldKeyBindings {
  Mover* mover = nullptr;
  std::vector<std::unique_ptr<Action<void()>>> actions;
};

extern HeldKeyBindings heldKeyBindings;

// The bound functions drive the mover given to BindHeldKeyActions.
void TurnLeft();    // A
void TurnRight();   // D
void Accelerate();  // W
void Decelerate();  // S
void Stop();        // Space

// Creates the five actions (A, D, W, S, Space), binds them in the registry
// and lets them drive this mover from now on.
void BindHeldKeyActions(ActionRegistry& registry, Mover& mover);

}  // namespace vellumor

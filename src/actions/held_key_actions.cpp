#include "actions/held_key_actions.h"

#include <memory>
#include <vector>

#include "platform/virtual_keys.h"

namespace vellumor {

HeldKeyBindings heldKeyBindings;

namespace {

void BindNew(ActionRegistry& registry, std::int32_t key, Action<void()>::Function function) {
  heldKeyBindings.actions.push_back(std::make_unique<Action<void()>>(key, function));
  registry.Bind(heldKeyBindings.actions.back().get());
}

}  // namespace

void TurnLeft() { heldKeyBindings.mover->heading -= kTurnStep; }
void TurnRight() { heldKeyBindings.mover->heading += kTurnStep; }
void Accelerate() { heldKeyBindings.mover->acceleration += 10.0; }
void Decelerate() { heldKeyBindings.mover->acceleration -= 10.0; }

void Stop() {
  heldKeyBindings.mover->speed = 0.0;
  heldKeyBindings.mover->acceleration = 0.0;
}

void BindHeldKeyActions(ActionRegistry& registry, Mover& mover) {
  heldKeyBindings.mover = &mover;
  BindNew(registry, vk::A, TurnLeft);
  BindNew(registry, vk::D, TurnRight);
  BindNew(registry, vk::W, Accelerate);
  BindNew(registry, vk::S, Decelerate);
  BindNew(registry, vk::Space, Stop);
}

}  // namespace vellumor

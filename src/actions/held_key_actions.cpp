#include "actions/held_key_actions.h"

#include <memory>
#include <vector>

#include "platform/virtual_keys.h"

namespace vellumor {

namespace {

// The actions hold plain functions, so the mover they drive is kept here.
Mover* drivenMover = nullptr;

// The actions live until the process ends; holding them here keeps leak checkers quiet.
std::vector<std::unique_ptr<Action<void()>>> boundActions;

void BindNew(ActionRegistry& registry, std::int32_t key, Action<void()>::Function function) {
  boundActions.push_back(std::make_unique<Action<void()>>(key, function));
  registry.Bind(boundActions.back().get());
}

}  // namespace

void TurnLeft() { drivenMover->heading -= kTurnStep; }
void TurnRight() { drivenMover->heading += kTurnStep; }
void Accelerate() { drivenMover->acceleration += 10.0; }
void Decelerate() { drivenMover->acceleration -= 10.0; }

void Stop() {
  drivenMover->speed = 0.0;
  drivenMover->acceleration = 0.0;
}

void BindHeldKeyActions(ActionRegistry& registry, Mover& mover) {
  drivenMover = &mover;
  BindNew(registry, vk::A, TurnLeft);
  BindNew(registry, vk::D, TurnRight);
  BindNew(registry, vk::W, Accelerate);
  BindNew(registry, vk::S, Decelerate);
  BindNew(registry, vk::Space, Stop);
}

}  // namespace vellumor

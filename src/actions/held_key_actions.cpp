#include "actions/held_key_actions.h"

#include <memory>
#include <vector>

#include "app/globals.h"
#include "platform/virtual_keys.h"

namespace {
// The actions live until the process ends; holding them here keeps leak checkers quiet.
std::vector<std::unique_ptr<Action<void()>>> boundActions;

void BindNew(std::int32_t key, Action<void()>::Function function) {
  boundActions.push_back(std::make_unique<Action<void()>>(key, function));
  actionRegistry.Bind(boundActions.back().get());
}
}  // namespace

void TurnLeft() { terrainScene.mover.heading -= kTurnStep; }
void TurnRight() { terrainScene.mover.heading += kTurnStep; }
void Accelerate() { terrainScene.mover.acceleration += 10.0; }
void Decelerate() { terrainScene.mover.acceleration -= 10.0; }

void Stop() {
  terrainScene.mover.speed = 0.0;
  terrainScene.mover.acceleration = 0.0;
}

void BindHeldKeyActions() {
  BindNew(vk::A, TurnLeft);
  BindNew(vk::D, TurnRight);
  BindNew(vk::W, Accelerate);
  BindNew(vk::S, Decelerate);
  BindNew(vk::Space, Stop);
}

#include "actions/action_registry.h"

namespace vellumor {

void ActionRegistry::Bind(IAction* action) { bindings[action->key] = action; }

bool ActionRegistry::KeyDown(std::int32_t key) {
  const auto found = bindings.find(key);
  if (found == bindings.end()) return false;
  Activate(found->second);
  return true;
}

bool ActionRegistry::KeyUp(std::int32_t key) {
  const auto found = bindings.find(key);
  if (found == bindings.end()) return false;
  Deactivate(found->second);
  return true;
}

void ActionRegistry::Activate(IAction* action) { activeActions.push_back(action); }

void ActionRegistry::Deactivate(IAction* action) { activeActions.remove(action); }

void ActionRegistry::DeactivateAll() { activeActions.clear(); }

void ActionRegistry::RunActive() {
  for (IAction* action : activeActions) action->Invoke();
}

}  // namespace vellumor

#pragma once
// Held-key actions: a key-down appends its action to the active list, a
// key-up removes every occurrence of it, and RunActive runs the list once.
// The registry owns its entries, never the actions.

#include <cstdint>
#include <list>
#include <map>

#include "actions/action.h"

namespace vellumor {

class ActionRegistry {
 public:
  // Binds the action to its own key, replacing (not destroying) an earlier one.
  void Bind(IAction* action);
  // True when the key is bound; its action then becomes active once more.
  bool KeyDown(std::int32_t key);
  // True when the key is bound; every occurrence of its action leaves the active list.
  bool KeyUp(std::int32_t key);
  void Activate(IAction* action);
  void Deactivate(IAction* action);
  // Every action leaves the active list, as if all keys had been released.
  void DeactivateAll();
  // Invokes the active actions in the order their keys went down.
  void RunActive();

  std::map<std::int32_t, IAction*> bindings;
  std::list<IAction*> activeActions;
};

}  // namespace vellumor

#pragma once
// An action bound to a key: it runs once per frame for as long as the key is held.

#include <cstdint>

namespace vellumor {

struct IAction {
  virtual void Invoke() = 0;
  std::int32_t key;  // Windows virtual-key code

 protected:
  explicit IAction(std::int32_t key) : key(key) {}
  ~IAction() = default;
};

template <typename Signature>
class Action;

// The one kind of action the program binds: it calls a plain function.
template <>
class Action<void()> final : public IAction {
 public:
  using Function = void (*)();
  Action(std::int32_t key, Function function) : IAction(key), function(function) {}
  void Invoke() override { function(); }

  Function function;
};

}  // namespace vellumor

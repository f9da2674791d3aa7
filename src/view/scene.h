#pragma once
// A scene the view can draw. Nothing is destroyed through this interface.

namespace vellumor {

struct Scene {
  virtual void Update(double time, double dt) = 0;
  virtual void Render() = 0;

 protected:
  ~Scene() = default;
};

}  // namespace vellumor

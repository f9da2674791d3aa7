#pragma once
// The one viewport: a pixel rectangle, the scene, the camera to look through
// and a projection mode. Orthographic modes remember how many world units a
// pixel covers, so that a drag pans with the picture following the pointer.

#include <cstdint>

#include "geometry/vec3.h"

namespace vellumor {

struct Scene;
struct Camera;

// Window pixels, both corners inclusive.
struct ViewRect {
  std::int32_t x0 = 0;
  std::int32_t y0 = 0;
  std::int32_t x1 = 0;
  std::int32_t y1 = 0;
};

enum class ViewMode : std::int32_t { Front = 0, Side = 1, Top = 2, Perspective = 3 };

struct View {
  ViewRect rect{};
  Scene* scene = nullptr;
  Camera* camera = nullptr;
  ViewMode mode = ViewMode::Top;
  Vec3 panOrigin{};
  double unitsPerPixelX = 0.0;
  double unitsPerPixelY = 0.0;

  View(Scene* scene, Camera* camera);

  void SetRect(const ViewRect& r);
  // Sets viewport, projection and camera transform, then has the scene render.
  void RenderView();
  void BeginPan();
  // dx, dy: pointer offset in client pixels from where the drag began (y down).
  void Pan(std::int32_t dx, std::int32_t dy);
};

}  // namespace vellumor

#pragma once
// The one scene: two cameras, the water plane, the terrain, the mover and the
// look angles the mouse steers. Other parts of the program reach its members directly.

#include "terrain/ground_overlay.h"
#include "terrain/mover.h"
#include "terrain/terrain.h"
#include "view/camera.h"
#include "view/scene.h"

namespace vellumor {

struct TerrainScene final : Scene {
  Camera camera;       // perspective camera that follows the mover
  Camera orthoCamera;  // camera of the orthographic views
  GroundOverlay overlay;
  Terrain terrain;
  Mover mover;
  double lookYaw = 0.0;    // radians
  double lookPitch = 0.0;  // radians

  TerrainScene();
  // Never copied by accident; a fresh scene may be moved in whole.
  TerrainScene(const TerrainScene&) = delete;
  TerrainScene& operator=(const TerrainScene&) = delete;
  TerrainScene(TerrainScene&&) = default;
  TerrainScene& operator=(TerrainScene&&) = default;

  void Reset();
  void Update(double time, double dt) override;
  void Render() override;
};

}  // namespace vellumor

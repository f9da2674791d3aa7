#include "terrain/terrain_scene.h"

#include "view/frustum_drawing.h"

namespace vellumor {

TerrainScene::TerrainScene() { Reset(); }

void TerrainScene::Reset() {
  camera.radius = 10.0;
  orthoCamera.radius = 1500.0;
  // Moves on from wherever it is: every reset adds another 1000 along +z.
  orthoCamera.position.z = orthoCamera.position.z + 1000.0;
}

void TerrainScene::Update(double time, double dt) {
  if (time == 0.0) {
    Reset();
  }
  // Halfway towards the look direction, once per frame.
  mover.heading = 0.5 * mover.heading + 0.5 * lookYaw;
  mover.pitch = 0.5 * mover.pitch + 0.5 * lookPitch;
  mover.Step(dt);

  // A key press gives a short push that decays by halves.
  double a = 0.5 * mover.acceleration;
  if (a <= -10.0) {
    a = -10.0;
  } else if (a >= 100.0) {
    a = 100.0;
  }
  mover.acceleration = a;

  // The camera takes the look angles at once, not the mover's smoothed ones.
  camera.position = mover.position;
  camera.yaw = lookYaw;
  camera.pitch = lookPitch;
  camera.UpdateFrustum();
  overlay.bounds = camera.bounds;
}

void TerrainScene::Render() {
  // Terrain, overlay and frustum always belong to the perspective camera,
  // also while an orthographic view looks at them.
  terrain.bounds = camera.bounds;
  terrain.Draw();
  overlay.Draw();
  DrawFrustum(camera);
}

}  // namespace vellumor

#include "app/controls.h"

#include "app/globals.h"
#include "app/pointer.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"

namespace vellumor {

namespace {

void ShowOrthographic(ViewMode mode) {
  LeaveLookMode();
  mainView.mode = mode;
  mainView.camera = &terrainScene.orthoCamera;
}

}  // namespace

bool HandleKeyDown(std::int32_t key) {
  if (actionRegistry.KeyDown(key)) return true;

  Terrain& terrain = terrainScene.terrain;
  Camera& camera = terrainScene.camera;
  switch (key) {
    case vk::Escape: platform::DestroyWindow(); break;
    case vk::Digit0: terrain.unit = terrain.unit + terrain.unit; break;
    case vk::Digit1: camera.fov -= 1.0; break;
    case vk::Digit2: camera.fov += 1.0; break;
    case vk::Digit9: terrain.unit = terrain.unit * 0.5; break;
    case vk::B: terrain.freq += 0.0001; break;
    case vk::F: terrain.amp -= 10.0; break;
    case vk::G: terrain.amp += 10.0; break;
    case vk::R: terrain.octaves -= 1.0; break;
    case vk::T: terrain.octaves += 1.0; break;
    case vk::U: terrain.h += 0.1; break;
    case vk::V: terrain.freq -= 0.0001; break;
    case vk::Y: terrain.h -= 0.1; break;
    case vk::F1:
      mainView.camera = &camera;
      mainView.mode = ViewMode::Perspective;
      EnterLookMode();
      break;
    case vk::F2: ShowOrthographic(ViewMode::Front); break;
    case vk::F3: ShowOrthographic(ViewMode::Side); break;
    case vk::F4: ShowOrthographic(ViewMode::Top); break;
    default: return false;
  }
  return true;
}

void HandleKeyUp(std::int32_t key) { actionRegistry.KeyUp(key); }

}  // namespace vellumor

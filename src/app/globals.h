#pragma once
// The program's three long-lived objects, built in this order before main and
// destroyed in reverse after it returns.

#include "actions/action_registry.h"
#include "terrain/terrain_scene.h"
#include "view/view.h"

namespace vellumor {

extern ActionRegistry actionRegistry;
extern TerrainScene terrainScene;
extern View mainView;

}  // namespace vellumor

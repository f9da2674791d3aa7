#include "app/globals.h"

#include "app/shell_state.h"

namespace vellumor {

// One translation unit, so the order of construction is the order written:
// registry, scene, view; destruction runs the other way.
ActionRegistry actionRegistry;
TerrainScene terrainScene;
View mainView(&terrainScene, &terrainScene.camera);

// Plain data, zero before anything runs.
ShellState shell;

}  // namespace vellumor

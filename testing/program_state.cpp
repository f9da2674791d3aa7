#include "testing/program_state.h"

#include "app/globals.h"
#include "app/shell.h"
#include "app/shell_state.h"
#include "testing/fake_platform.h"
#include "testing/recording_gl.h"

namespace vellumor {

void ResetProgramState() {
  shell = ShellState{};
  actionRegistry = ActionRegistry{};
  terrainScene = TerrainScene{};
  mainView = View(&terrainScene, &terrainScene.camera);
  fake::Reset(WindowProc);
  recgl::Reset();
}

}  // namespace vellumor

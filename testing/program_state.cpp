#include "testing/program_state.h"

#include <new>

#include "app/client_area.h"
#include "app/frame.h"
#include "app/globals.h"
#include "app/pointer.h"
#include "app/shell.h"
#include "testing/fake_platform.h"
#include "testing/recording_gl.h"

namespace vellumor {

void ResetProgramState() {
  pointer = PointerState{};
  clientArea = ClientArea{};
  fontListBase = 0;
  frameClock = FrameClock{};
  hudCursor = HudCursor{};
  actionRegistry.activeActions.clear();
  actionRegistry.bindings.clear();
  terrainScene.~TerrainScene();
  new (&terrainScene) TerrainScene();
  mainView = View(&terrainScene, &terrainScene.camera);
  fake::Reset(WindowProc);
  recgl::Reset();
}

}  // namespace vellumor

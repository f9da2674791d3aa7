#include "app/shell.h"

#include <algorithm>

#include "actions/held_key_actions.h"
#include "app/client_area.h"
#include "app/controls.h"
#include "app/frame.h"
#include "app/gl_context.h"
#include "app/globals.h"
#include "app/pointer.h"

namespace vellumor {

namespace {

using platform::EventKind;

bool OnCreate() {
  if (!CreateGlContext()) return false;
  BindHeldKeyActions(actionRegistry, terrainScene.mover);
  StartFrameClock();
  return true;
}

}  // namespace

bool WindowProc(const platform::Event& event) {
  switch (event.kind) {
    case EventKind::Create:
      return OnCreate();
    case EventKind::Destroy:
      platform::Quit(0);
      break;
    case EventKind::Move:
      clientArea.clientX = event.x;
      clientArea.clientY = event.y;
      break;
    case EventKind::Size:
      clientArea.clientWidth = std::max(event.x, 0);
      clientArea.clientHeight = std::max(event.y, 0);
      break;
    case EventKind::Paint:
      RenderFrame();
      platform::SwapBuffers();
      break;
    case EventKind::Activate:
      // Keys released while another application has the focus never say so
      // here: the held-key actions end with the focus, and a key still down
      // on return acts only once it is pressed again.
      if (!event.active) actionRegistry.DeactivateAll();
      OnActivate(event.active);
      break;
    case EventKind::KeyDown:
      if (!event.repeat) HandleKeyDown(event.key);
      break;
    case EventKind::KeyUp:
      HandleKeyUp(event.key);
      break;
    case EventKind::MouseMove:
      OnPointerMove(event.x, event.y);
      break;
    case EventKind::LeftButtonDown:
      OnLeftButtonDown(event.x, event.y);
      break;
    case EventKind::LeftButtonUp:
      OnLeftButtonUp();
      break;
    case EventKind::Wheel:
      OnWheel(event.wheelDelta);
      break;
    case EventKind::CaptureLost:
      OnCaptureLost();
      break;
  }
  return true;
}

}  // namespace vellumor

#include "app/shell.h"

#include <algorithm>

#include "actions/held_key_actions.h"
#include "app/controls.h"
#include "app/frame.h"
#include "app/gl_context.h"
#include "app/globals.h"
#include "app/look_and_zoom.h"
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

void Apply(const PointerMotion& motion) {
  switch (motion.kind) {
    case PointerMotion::Kind::Look: LookBy(motion.dx, motion.dy); break;
    case PointerMotion::Kind::Pan: mainView.Pan(motion.dx, motion.dy); break;
    case PointerMotion::Kind::Nothing: break;
  }
}

void Zoom(int steps) {
  if (steps > 0) OrthoZoomOut();
  if (steps < 0) OrthoZoomIn();
}

}  // namespace

bool WindowProc(const platform::Event& event) {
  ClientArea& client = shell.clientArea;
  switch (event.kind) {
    case EventKind::Create:
      return OnCreate();
    case EventKind::Destroy:
      platform::Quit(0);
      break;
    case EventKind::Move:
      client.clientX = event.x;
      client.clientY = event.y;
      OnClientAreaChanged();
      break;
    case EventKind::Size:
      client.clientWidth = std::max(event.x, 0);
      client.clientHeight = std::max(event.y, 0);
      OnClientAreaChanged();
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
      // Auto-repeats do nothing; whether a key was taken is said by its first key-down.
      return !event.repeat && HandleKeyDown(event.key);
    case EventKind::KeyUp:
      HandleKeyUp(event.key);
      break;
    case EventKind::MouseMove:
      Apply(OnPointerMove(event.x, event.y));
      break;
    case EventKind::LeftButtonDown:
      // Every later move of the drag pans from where the camera was at its start.
      if (OnLeftButtonDown(event.x, event.y)) mainView.BeginPan();
      break;
    case EventKind::LeftButtonUp:
      OnLeftButtonUp();
      break;
    case EventKind::Wheel:
      Zoom(OnWheel(event.wheelDelta));
      break;
    case EventKind::CaptureLost:
      OnCaptureLost();
      break;
    case EventKind::DpiChanged:
      OnDpiChanged(event.x);
      break;
  }
  return true;
}

}  // namespace vellumor

#include "app/frame.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "app/client_area.h"
#include "app/globals.h"
#include "platform/platform.h"

namespace vellumor {

FrameClock frameClock;
HudCursor hudCursor;
std::uint32_t fontListBase = 0;

namespace {

ViewRect ClientRect() { return ViewRect{0, 0, clientArea.clientWidth - 1, clientArea.clientHeight - 1}; }

void DrawOverlay() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, clientArea.clientWidth, 0, clientArea.clientHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  // The blend function is the one the water plane left: text is half-transparent white.
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glColor4d(1.0, 1.0, 1.0, 0.5);

  hudCursor.hudColumn = 0;
  hudCursor.hudLine = 0;
  glRasterPos2i(5, clientArea.clientHeight - 15);

  const TerrainScene& scene = terrainScene;
  PrintValue("FPS", frameClock.shownFps);
  PrintValue("Octaves", scene.terrain.octaves);
  PrintValue("Amp", scene.terrain.amp);
  PrintValue("Freq", scene.terrain.freq);
  PrintValue("h", scene.terrain.h);
  PrintValue("radius", scene.camera.radius);
  PrintValue("oradius", scene.orthoCamera.radius);
  PrintValue("fov", scene.camera.fov);
  PrintValue("unit", scene.terrain.unit);
}

}  // namespace

void StartFrameClock() {
  frameClock.startTick = platform::TickCount();
  frameClock.lastElapsed = 0.0;
  frameClock.fpsWindowStart = 0;
}

void InitView() {
  mainView.mode = ViewMode::Perspective;
  mainView.SetRect(ClientRect());
}

void RenderFrame() {
  // Unsigned differences keep time running straight across the tick counter's wrap.
  const std::uint32_t nowMs = platform::TickCount() - frameClock.startTick;
  const double t = nowMs / 1000.0;
  const double dt = t - frameClock.lastElapsed;
  frameClock.lastElapsed = t;
  if (nowMs - frameClock.fpsWindowStart > 1000u) {
    frameClock.fpsWindowStart = nowMs;
    frameClock.shownFps = frameClock.frameCount;
    frameClock.frameCount = 0;
  }
  frameClock.frameCount += 1;

  terrainScene.Update(t, dt);

  glClearDepth(1.0);
  glClearColor(0.7f, 0.7f, 0.8f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  mainView.SetRect(ClientRect());
  glEnable(GL_DEPTH_TEST);
  mainView.RenderView();

  DrawOverlay();
  glFinish();

  // Held keys act after the frame is drawn, so their changes show from the next frame.
  actionRegistry.RunActive();
}

void PrintValue(const char* label, double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  glListBase(fontListBase);
  glCallLists(static_cast<GLsizei>(std::strlen(label)), GL_UNSIGNED_BYTE, label);
  glCallLists(1, GL_UNSIGNED_BYTE, ":");
  glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
  hudCursor.hudLine += 1;
  glRasterPos2i(8 * hudCursor.hudColumn + 5, clientArea.clientHeight - 12 * hudCursor.hudLine - 15);
}

}  // namespace vellumor

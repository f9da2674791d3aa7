#include "app/frame.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "app/globals.h"
#include "app/shell_state.h"
#include "platform/platform.h"

namespace vellumor {

namespace {

// The overlay's lengths, given at a scale of 1, in the display's pixels.
std::int32_t OverlayPixels(std::int32_t plainPixels) {
  return platform::ScaledToDpi(plainPixels, shell.textOverlay.dpi);
}

// Cell (column, line) of the text cursor: its glyphs' baseline origin, from the bottom-left corner.
void RasterPosToCell(std::int32_t column, std::int32_t line) {
  glRasterPos2i(OverlayPixels(8 * column + 5), shell.clientArea.clientHeight - OverlayPixels(12 * line + 15));
}

ViewRect ClientRect() { return ViewRect{0, 0, shell.clientArea.clientWidth - 1, shell.clientArea.clientHeight - 1}; }

void DrawOverlay() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, shell.clientArea.clientWidth, 0, shell.clientArea.clientHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  // The blend function is the one the water plane left: text is half-transparent white.
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glColor4d(1.0, 1.0, 1.0, 0.5);

  shell.textOverlay.hudColumn = 0;
  shell.textOverlay.hudLine = 0;
  RasterPosToCell(0, 0);

  const TerrainScene& scene = terrainScene;
  PrintValue("FPS", shell.frameClock.shownFps);
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
  FrameClock& clock = shell.frameClock;
  clock.startTick = platform::TickCount();
  clock.lastElapsed = 0.0;
  clock.fpsWindowStart = 0;
}

void InitView() {
  mainView.mode = ViewMode::Perspective;
  mainView.SetRect(ClientRect());
}

void RenderFrame() {
  // Unsigned differences keep time running straight across the tick counter's wrap.
  FrameClock& clock = shell.frameClock;
  const std::uint32_t nowMs = platform::TickCount() - clock.startTick;
  const double t = nowMs / 1000.0;
  const double dt = t - clock.lastElapsed;
  clock.lastElapsed = t;
  if (nowMs - clock.fpsWindowStart > 1000u) {
    clock.fpsWindowStart = nowMs;
    clock.shownFps = clock.frameCount;
    clock.frameCount = 0;
  }
  clock.frameCount += 1;

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
  glListBase(shell.textOverlay.fontListBase);
  glCallLists(static_cast<GLsizei>(std::strlen(label)), GL_UNSIGNED_BYTE, label);
  glCallLists(1, GL_UNSIGNED_BYTE, ":");
  glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
  TextOverlay& cursor = shell.textOverlay;
  cursor.hudLine += 1;
  RasterPosToCell(cursor.hudColumn, cursor.hudLine);
}

}  // namespace vellumor

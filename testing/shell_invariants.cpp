#include "testing/shell_invariants.h"

#include <GL/gl.h>

#include <cmath>
#include <initializer_list>

#include "app/globals.h"
#include "app/pointer.h"
#include "testing/fake_platform.h"
#include "testing/recording_gl.h"

namespace vellumor::invariants {

namespace {

using platform::CursorShape;
using platform::EventKind;

bool IsHeld(std::int32_t key) {
  for (const std::int32_t held : kHeldKeys) {
    if (key == held) return true;
  }
  return false;
}

std::string Flag(const char* name, bool value) { return std::string(name) + (value ? " yes" : " no"); }

bool Finite(std::initializer_list<double> values) {
  for (const double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

bool Finite(const Vec3& v) { return Finite({v.x, v.y, v.z}); }

bool Finite(const Camera& c) { return Finite({c.aspect, c.yaw, c.pitch, c.fov, c.radius}) && Finite(c.position); }

}  // namespace

void HeldKeyPresses::Note(const platform::Event& event) {
  // Keys released while another application has the focus go unheard, so
  // every held-key action ends when the focus goes.
  if (event.kind == EventKind::Activate && !event.active) downs.clear();
  if (event.kind != EventKind::KeyDown && event.kind != EventKind::KeyUp) return;
  if (!IsHeld(event.key)) return;
  if (event.kind == EventKind::KeyDown && !event.repeat) ++downs[event.key];
  if (event.kind == EventKind::KeyUp) downs[event.key] = 0;
}

std::string PointerProblem() {
  const fake::PlatformState& f = fake::state;
  const bool captured = shell.pointer.pointerCaptured;
  bool ok = captured == f.captured;
  switch (shell.pointer.mouseMode) {
    case MouseMode::None: ok = ok && !captured; break;
    case MouseMode::Drag: ok = ok && captured && f.shape == CursorShape::SizeAll && f.confined; break;
    case MouseMode::Look: ok = ok && (!captured || (f.shape == CursorShape::Hidden && f.confined)); break;
  }
  ok = ok && (captured || (f.shape == CursorShape::Arrow && !f.confined));
  if (ok) return {};
  return "mode " + std::to_string(static_cast<int>(shell.pointer.mouseMode)) + ", " + Flag("captured", captured) + ", " +
         Flag("platform captured", f.captured) + ", " + Flag("confined", f.confined) + ", cursor " +
         std::to_string(static_cast<int>(f.shape));
}

std::string HeldKeyProblem(const HeldKeyPresses& presses) {
  for (const std::int32_t key : kHeldKeys) {
    std::size_t active = 0;
    for (const IAction* action : actionRegistry.activeActions) active += action->key == key ? 1 : 0;
    const auto found = presses.downs.find(key);
    const std::size_t expected = found == presses.downs.end() ? 0 : found->second;
    if (active != expected) {
      return "key " + std::to_string(key) + " active " + std::to_string(active) + " times, pressed " +
             std::to_string(expected) + " times since released";
    }
  }
  return {};
}

std::string FrameGlProblem() {
  const GlState& gl = recgl::State();
  if (gl.attribDepth != 0 || gl.modelviewDepth != 1 || gl.projectionDepth != 1 || gl.inBeginEnd) {
    return "attribute depth " + std::to_string(gl.attribDepth) + ", modelview depth " +
           std::to_string(gl.modelviewDepth) + ", projection depth " + std::to_string(gl.projectionDepth) + ", " +
           Flag("inside glBegin", gl.inBeginEnd);
  }
  if (gl.IsOn(GL_DEPTH_TEST) || gl.IsOn(GL_LIGHTING) || !gl.IsOn(GL_BLEND)) {
    return Flag("depth test", gl.IsOn(GL_DEPTH_TEST)) + ", " + Flag("lighting", gl.IsOn(GL_LIGHTING)) + ", " +
           Flag("blend", gl.IsOn(GL_BLEND));
  }
  return {};
}

std::string GridProblem(const Terrain& t) {
  const std::int64_t samples = (std::int64_t{t.rows} + 1) * t.columns;
  const bool withinCap = t.columns >= 0 && t.rows >= 0 && samples <= kMaxGridSamples &&
                         t.vertices.size() <= kMaxGridDoubles && t.normals.size() <= kMaxGridDoubles &&
                         t.vertices.capacity() <= 2 * kMaxGridDoubles && t.normals.capacity() <= 2 * kMaxGridDoubles;
  const bool holdsItsSamples = t.columns == 0 || (t.vertices.size() >= static_cast<std::size_t>(3 * samples) &&
                                                  t.normals.size() >= static_cast<std::size_t>(3 * samples));
  if (withinCap && holdsItsSamples) return {};
  return "columns " + std::to_string(t.columns) + ", rows " + std::to_string(t.rows) + ", vertices " +
         std::to_string(t.vertices.size()) + " (capacity " + std::to_string(t.vertices.capacity()) + "), normals " +
         std::to_string(t.normals.size()) + " (capacity " + std::to_string(t.normals.capacity()) + ")";
}

bool SceneFinite() {
  const TerrainScene& s = terrainScene;
  const Terrain& t = s.terrain;
  const Mover& m = s.mover;
  return Finite({t.unit, t.octaves, t.amp, t.freq, t.h}) && Finite(s.camera) && Finite(s.orthoCamera) &&
         Finite({m.acceleration, m.heading, m.pitch, m.speed}) && Finite(m.position) &&
         Finite({s.lookYaw, s.lookPitch});
}

FrameStart::FrameStart() : sceneFinite(SceneFinite()), nonFiniteCalls(recgl::NonFiniteCalls()) {}

std::string FrameStart::NonFiniteProblem() const {
  if (recgl::NonFiniteCalls() == nonFiniteCalls || !sceneFinite || !SceneFinite()) return {};
  std::string problem = "a frame of a finite scene handed GL a value that is not finite";
  if (nonFiniteCalls == 0) problem += ": " + recgl::FirstNonFiniteCall();
  return problem;
}

}  // namespace vellumor::invariants

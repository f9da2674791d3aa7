// Heights, cameras, a flight and terrain grids on this platform against the
// values the Linux build computes, kept in linux_values.inc.
//
// Windows' C runtime rounds sin, cos and tan differently from glibc now and
// then (in the last bit, or two where a small result comes from a large
// argument). Built for Windows, every value must stay within 1e-12 of the
// Linux one, relative to its scale: a height's is the amplitude (or the
// height, if larger), a camera's the extent of its frustum, a normal's 1.
// Integers, such as the grid's size, must match exactly. On Linux the same
// check guards the file against changes of the code.
//
// After a deliberate change of these numbers, write the file afresh on Linux
// (from the source folder, after building the dev preset):
//   VELLUMOR_WRITE_LINUX_VALUES=$PWD/tests/terrain/linux_values.inc
//   build/dev/tests/terrain_tests --gtest_filter='LinuxValuesTest.*'

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "terrain/height.h"
#include "terrain/terrain.h"
#include "terrain/terrain_scene.h"
#include "view/camera.h"

namespace vellumor {

namespace {

#include "linux_values.inc"

constexpr double kTolerance = 1e-12;

struct Value {
  double value;
  double scale;  // 0: must match exactly
};

// A fixed sequence of doubles in [0, 1), the same on every platform.
struct Sequence {
  std::uint64_t state;
  double Next() {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<double>(state >> 11) * 0x1p-53;
  }
  double Between(double lo, double hi) { return lo + (hi - lo) * Next(); }
};

std::vector<Value> Heights() {
  struct Parameters {
    double octaves, amp, freq, h;
  };
  const Parameters sets[] = {
      {2, 230, 0.0011, 0.5}, {6, 230, 0.0011, 0.5}, {4, 50, 0.013, 0.9},
      {9, 1000, 0.0004, 0.3}, {3, -120, 0.0021, -0.7}, {1, 230, 0.5, 0.5},
  };
  Sequence random{1};
  std::vector<Value> values;
  for (const Parameters& p : sets) {
    for (int i = 0; i < 50; ++i) {
      // Near the origin, then farther out, then where the lattice wraps.
      const double reach = i < 20 ? 3e3 : i < 40 ? 3e6 : 4e12;
      const double x = random.Between(-reach, reach);
      const double z = random.Between(-reach, reach);
      const double y = TerrainHeight(x, z, p.octaves, p.amp, p.freq, p.h);
      values.push_back({y, std::max(std::fabs(y), std::fabs(p.amp))});
    }
  }
  return values;
}

void AddCamera(const Camera& camera, std::vector<Value>& values) {
  double extent = 0;
  for (const Vec3& c : camera.corners) extent = std::max({extent, std::fabs(c.x), std::fabs(c.y), std::fabs(c.z)});
  const auto add = [&](const Vec3& v) {
    for (double d : {v.x, v.y, v.z}) values.push_back({d, extent});
  };
  for (const Vec3& c : camera.corners) add(c);
  add(camera.bounds.min);
  add(camera.bounds.max);
}

std::vector<Value> Cameras() {
  Sequence random{2};
  std::vector<Value> values;
  for (int i = 0; i < 16; ++i) {
    Camera camera;
    camera.position = {random.Between(-5e4, 5e4), random.Between(-500, 2000), random.Between(-5e4, 5e4)};
    camera.yaw = random.Between(-20, 20);
    camera.pitch = random.Between(-1.5, 1.5);
    camera.fov = random.Between(10, 120);
    camera.radius = random.Between(1, 200);
    camera.aspect = random.Between(0.3, 3);
    camera.UpdateFrustum();
    AddCamera(camera, values);
  }
  return values;
}

// The scene in flight: look angles that wander, pushes forward, some frames
// in the same tick. Every tenth frame, the mover and the camera.
std::vector<Value> Flight(TerrainScene& scene) {
  Sequence random{3};
  std::vector<Value> values;
  double t = 0;
  for (int frame = 1; frame <= 120; ++frame) {
    scene.lookYaw += random.Between(-0.05, 0.06);
    scene.lookPitch = 0.3 * std::sin(frame * 0.1);
    if (frame % 7 == 0) scene.mover.acceleration += 10;
    const double dt = frame % 5 == 0 ? 0.0 : 0.016;
    t += dt;
    scene.Update(t, dt);
    if (frame % 10 != 0) continue;
    const Mover& m = scene.mover;
    const double reach = std::max({1.0, std::fabs(m.position.x), std::fabs(m.position.y), std::fabs(m.position.z)});
    for (double d : {m.position.x, m.position.y, m.position.z}) values.push_back({d, reach});
    values.push_back({m.heading, std::max(1.0, std::fabs(m.heading))});
    values.push_back({m.pitch, 1});
    values.push_back({m.speed, std::max(1.0, m.speed)});
    AddCamera(scene.camera, values);
  }
  return values;
}

// The grid over the camera's box: its size, then about 150 samples' vertices
// spread over it and, where they are drawn, their normals.
void AddGrid(Terrain& terrain, const BoundingBox& box, std::vector<Value>& values) {
  terrain.bounds = box;
  if (!BuildGrid(terrain)) {
    values.push_back({-1, 0});
    return;
  }
  values.push_back({static_cast<double>(terrain.columns), 0});
  values.push_back({static_cast<double>(terrain.rows), 0});
  const std::size_t columns = static_cast<std::size_t>(terrain.columns);
  const std::size_t samples = terrain.vertices.size() / 3;
  const double height = std::fabs(terrain.amp);
  const std::size_t stride = std::max<std::size_t>(97, samples / 150) | 1;
  for (std::size_t k = 0; k < samples; k += stride) {
    const double* v = &terrain.vertices[3 * k];
    values.push_back({v[0], std::fabs(v[0])});
    values.push_back({v[1], std::max(std::fabs(v[1]), height)});
    values.push_back({v[2], std::fabs(v[2])});
    const std::size_t i = k / columns, j = k % columns;
    const bool drawn = i >= 1 && i + 2 <= static_cast<std::size_t>(terrain.rows) && j >= 1 && j + 3 <= columns;
    if (!drawn) continue;
    for (int c = 0; c < 3; ++c) values.push_back({terrain.normals[3 * k + c], 1});
  }
}

std::vector<Value> Grids() {
  TerrainScene scene;
  std::vector<Value> values;
  Flight(scene);
  AddGrid(scene.terrain, scene.camera.bounds, values);
  scene.terrain.unit = 40;
  scene.terrain.octaves = 5;
  scene.terrain.freq = 0.0023;
  scene.lookPitch = 0.6;
  scene.Update(3.0, 0.016);
  AddGrid(scene.terrain, scene.camera.bounds, values);
  return values;
}

std::vector<Value> FlightValues() {
  TerrainScene scene;
  return Flight(scene);
}

void Write(std::FILE* out, const char* name, const std::vector<Value>& values) {
  std::fprintf(out, "constexpr double %s[] = {\n", name);
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::fprintf(out, "%s%a,%s", i % 4 == 0 ? "    " : " ", values[i].value, i % 4 == 3 ? "\n" : "");
  }
  std::fprintf(out, "%s};\n", values.size() % 4 == 0 ? "" : "\n");
}

// Compares every value; reports the largest deviation relative to its scale.
void ExpectNear(const std::vector<Value>& here, const double* linux, std::size_t count, const char* what) {
  ASSERT_EQ(here.size(), count) << what << ": a different number of values; is linux_values.inc stale?";
  double worst = 0;
  int failures = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double difference = std::fabs(here[i].value - linux[i]);
    if (here[i].scale == 0 || std::isnan(difference)) {
      if (here[i].value != linux[i] && ++failures <= 5) ADD_FAILURE() << what << "[" << i << "] must be exact";
      continue;
    }
    const double relative = difference / here[i].scale;
    worst = std::max(worst, relative);
    if (relative > kTolerance && ++failures <= 5) {
      ADD_FAILURE() << what << "[" << i << "]: " << here[i].value << " here, " << linux[i] << " on Linux, "
                    << relative << " apart relative to " << here[i].scale;
    }
  }
  EXPECT_EQ(failures, 0) << what;
  ::testing::Test::RecordProperty(std::string(what) + "_worst_relative", std::to_string(worst));
  std::printf("%s: %zu values, worst deviation %.3g relative\n", what, count, worst);
}

class LinuxValuesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* path = std::getenv("VELLUMOR_WRITE_LINUX_VALUES");
    if (path == nullptr || path[0] == '\0') return;
    std::FILE* out = std::fopen(path, "w");
    ASSERT_NE(out, nullptr) << path;
    std::fprintf(out, "// Written by linux_values_test.cpp on Linux (glibc); see there. Do not edit.\n");
    Write(out, "kLinuxHeights", Heights());
    Write(out, "kLinuxCameras", Cameras());
    Write(out, "kLinuxFlight", FlightValues());
    Write(out, "kLinuxGrids", Grids());
    std::fclose(out);
  }
};

TEST_F(LinuxValuesTest, Heights) { ExpectNear(Heights(), kLinuxHeights, std::size(kLinuxHeights), "heights"); }
TEST_F(LinuxValuesTest, Cameras) { ExpectNear(Cameras(), kLinuxCameras, std::size(kLinuxCameras), "cameras"); }
TEST_F(LinuxValuesTest, Flight) { ExpectNear(FlightValues(), kLinuxFlight, std::size(kLinuxFlight), "flight"); }
TEST_F(LinuxValuesTest, Grids) { ExpectNear(Grids(), kLinuxGrids, std::size(kLinuxGrids), "grids"); }

}  // namespace

}  // namespace vellumor

#pragma once
// What must hold after every frame, whatever input and parameters came before.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>

#include "app/globals.h"
#include "testing/recording_gl.h"

namespace vellumor {

inline constexpr std::size_t kMaxGridDoubles = 3 * static_cast<std::size_t>(kMaxGridSamples);

// Every push popped, no open glBegin, and the state the text overlay leaves
// for the next frame: depth test and lighting off, blending on.
inline ::testing::AssertionResult FrameLeftGlClean() {
  const GlState& gl = recgl::State();
  if (gl.attribDepth != 0 || gl.modelviewDepth != 1 || gl.projectionDepth != 1 || gl.inBeginEnd) {
    return ::testing::AssertionFailure() << "attribute depth " << gl.attribDepth << ", modelview depth "
                                         << gl.modelviewDepth << ", projection depth " << gl.projectionDepth
                                         << ", inside glBegin " << gl.inBeginEnd;
  }
  if (gl.IsOn(GL_DEPTH_TEST) || gl.IsOn(GL_LIGHTING) || !gl.IsOn(GL_BLEND)) {
    return ::testing::AssertionFailure() << "depth test " << gl.IsOn(GL_DEPTH_TEST) << ", lighting "
                                         << gl.IsOn(GL_LIGHTING) << ", blend " << gl.IsOn(GL_BLEND);
  }
  return ::testing::AssertionSuccess();
}

// The grid stays within its cap (or is not there), holds what it says it
// holds, and its storage has at most doubled past the cap while growing.
inline ::testing::AssertionResult GridBounded() {
  const Terrain& t = terrainScene.terrain;
  const std::int64_t samples = (std::int64_t{t.rows} + 1) * t.columns;
  const auto fail = [&] {
    return ::testing::AssertionFailure() << "columns " << t.columns << ", rows " << t.rows << ", vertices "
                                         << t.vertices.size() << " (capacity " << t.vertices.capacity()
                                         << "), normals " << t.normals.size() << " (capacity "
                                         << t.normals.capacity() << ")";
  };
  if (t.columns < 0 || t.rows < 0 || samples > kMaxGridSamples) return fail();
  if (t.vertices.size() > kMaxGridDoubles || t.normals.size() > kMaxGridDoubles) return fail();
  if (t.vertices.capacity() > 2 * kMaxGridDoubles || t.normals.capacity() > 2 * kMaxGridDoubles) return fail();
  if (t.columns > 0 && (t.vertices.size() < static_cast<std::size_t>(3 * samples) ||
                        t.normals.size() < static_cast<std::size_t>(3 * samples))) {
    return fail();
  }
  return ::testing::AssertionSuccess();
}

}  // namespace vellumor

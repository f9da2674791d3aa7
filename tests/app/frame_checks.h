#pragma once
// What must hold after every event and every frame, whatever input and
// parameters came before, as gtest assertions over the shared checks.

#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "testing/shell_invariants.h"

namespace vellumor {

inline ::testing::AssertionResult Holds(const std::string& problem) {
  if (problem.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << problem;
}

inline ::testing::AssertionResult FrameLeftGlClean() { return Holds(invariants::FrameGlProblem()); }

inline ::testing::AssertionResult GridBounded() { return Holds(invariants::GridProblem(terrainScene.terrain)); }

}  // namespace vellumor

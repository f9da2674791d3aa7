#pragma once
// Puts every global of the program back to its start-up state, with the fake
// platform attached to the window procedure and the recording GL emptied.

#include <gtest/gtest.h>

#include <new>

#include "app/frame.h"
#include "app/globals.h"
#include "app/shell.h"
#include "support/fake_platform.h"
#include "support/recording_gl.h"

inline void ResetProgramState() {
  shell = ShellState{};
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

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgramState(); }

  static bool Send(platform::EventKind kind, std::int32_t x = 0, std::int32_t y = 0) {
    platform::Event event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    return fake::Send(event);
  }
  static void Key(std::int32_t key, bool repeat = false) {
    platform::Event event;
    event.kind = platform::EventKind::KeyDown;
    event.key = key;
    event.repeat = repeat;
    fake::Send(event);
  }
  static void KeyUp(std::int32_t key) {
    platform::Event event;
    event.kind = platform::EventKind::KeyUp;
    event.key = key;
    fake::Send(event);
  }
  static void Wheel(std::int32_t delta) {
    platform::Event event;
    event.kind = platform::EventKind::Wheel;
    event.wheelDelta = delta;
    fake::Send(event);
  }
  // Create, then the first Size and Move, as the platform sends them.
  static void OpenWindow(std::int32_t width = 240, std::int32_t height = 217, std::int32_t x = 108,
                         std::int32_t y = 131) {
    Send(platform::EventKind::Create);
    Send(platform::EventKind::Size, width, height);
    Send(platform::EventKind::Move, x, y);
    fake::TakeLog();
  }
};

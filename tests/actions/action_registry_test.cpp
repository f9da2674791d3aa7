#include "actions/action_registry.h"

#include <gtest/gtest.h>

#include <string>

#include "actions/held_key_actions.h"
#include "platform/virtual_keys.h"
#include "support/app_fixture.h"

namespace vellumor {

namespace {

std::string trace;
void RunA() { trace += 'a'; }
void RunB() { trace += 'b'; }

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    trace.clear();
    registry.Bind(&a);
    registry.Bind(&b);
  }
  ActionRegistry registry;
  Action<void()> a{1, RunA};
  Action<void()> b{2, RunB};
};

TEST_F(RegistryTest, ActionsRunOncePerOccurrenceInKeyDownOrder) {
  EXPECT_TRUE(registry.KeyDown(2));
  EXPECT_TRUE(registry.KeyDown(1));
  EXPECT_TRUE(registry.KeyDown(2));  // a key-up that never arrived: the action is active twice
  registry.RunActive();
  EXPECT_EQ(trace, "bab");

  EXPECT_TRUE(registry.KeyUp(2));  // removes every occurrence at once
  trace.clear();
  registry.RunActive();
  EXPECT_EQ(trace, "a");
}

TEST_F(RegistryTest, UnboundKeysAreRefusedAndChangeNothing) {
  registry.KeyDown(1);
  EXPECT_FALSE(registry.KeyDown(27));
  EXPECT_FALSE(registry.KeyUp(27));
  EXPECT_EQ(registry.activeActions.size(), 1u);
}

TEST_F(RegistryTest, KeyUpOfAnInactiveBoundKeyIsAccepted) {
  EXPECT_TRUE(registry.KeyUp(1));
  EXPECT_TRUE(registry.activeActions.empty());
}

TEST_F(RegistryTest, RebindingReplacesTheActionOfAKey) {
  Action<void()> other{1, RunB};
  registry.Bind(&other);
  EXPECT_EQ(registry.bindings.size(), 2u);
  registry.KeyDown(1);
  registry.RunActive();
  EXPECT_EQ(trace, "b");
}

class HeldKeyTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    BindHeldKeyActions(actionRegistry, terrainScene.mover);
  }
  Mover& mover = terrainScene.mover;
};

TEST_F(HeldKeyTest, BindsFiveKeysInOrder) {
  ASSERT_EQ(actionRegistry.bindings.size(), 5u);
  for (std::int32_t key : {vk::A, vk::D, vk::W, vk::S, vk::Space}) {
    ASSERT_TRUE(actionRegistry.bindings.count(key)) << key;
    EXPECT_EQ(actionRegistry.bindings[key]->key, key);
  }
}

TEST_F(HeldKeyTest, EachActionStepsTheMover) {
  actionRegistry.KeyDown(vk::A);
  actionRegistry.RunActive();
  EXPECT_EQ(mover.heading, -0.0872664625997164739);
  actionRegistry.KeyUp(vk::A);
  actionRegistry.KeyDown(vk::D);
  actionRegistry.KeyDown(vk::D);
  actionRegistry.RunActive();
  EXPECT_EQ(mover.heading, 0.0872664625997164739);
  actionRegistry.KeyUp(vk::D);

  actionRegistry.KeyDown(vk::S);
  actionRegistry.RunActive();
  EXPECT_EQ(mover.acceleration, -10.0);
}

TEST_F(HeldKeyTest, SpaceWithWDependsOnWhichWentDownFirst) {
  mover.speed = 7.0;
  actionRegistry.KeyDown(vk::W);
  actionRegistry.KeyDown(vk::Space);
  actionRegistry.RunActive();
  EXPECT_EQ(mover.acceleration, 0.0);
  EXPECT_EQ(mover.speed, 0.0);

  actionRegistry.activeActions.clear();
  mover.speed = 7.0;
  actionRegistry.KeyDown(vk::Space);
  actionRegistry.KeyDown(vk::W);
  actionRegistry.RunActive();
  EXPECT_EQ(mover.acceleration, 10.0);
  EXPECT_EQ(mover.speed, 0.0);
}

}  // namespace

}  // namespace vellumor

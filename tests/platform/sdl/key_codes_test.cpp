// SDL keys as the Windows virtual-key codes the key table expects.
#include "platform/sdl/key_codes.h"

#include <gtest/gtest.h>

#include "platform/virtual_keys.h"

namespace vellumor {

namespace {

using platform::sdl::VirtualKeyFromSdl;

TEST(KeyCodesTest, TheViewersKeysMapToTheirCodes) {
  struct Case {
    SDL_Keycode sym;
    SDL_Scancode scancode;
    std::int32_t expected;
  };
  const Case cases[] = {
      {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, vk::Escape}, {SDLK_SPACE, SDL_SCANCODE_SPACE, vk::Space},
      {SDLK_0, SDL_SCANCODE_0, vk::Digit0},           {SDLK_9, SDL_SCANCODE_9, vk::Digit9},
      {SDLK_w, SDL_SCANCODE_W, vk::W},                {SDLK_y, SDL_SCANCODE_Y, vk::Y},
      {SDLK_F1, SDL_SCANCODE_F1, vk::F1},             {SDLK_F4, SDL_SCANCODE_F4, vk::F4},
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromSdl(c.sym, c.scancode), c.expected) << c.sym;
}

TEST(KeyCodesTest, LettersFollowTheLayoutAndDigitsThePosition) {
  // A German layout swaps Y and Z: the key labelled Z sits where US has Y.
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_z, SDL_SCANCODE_Y), 'Z');
  // A French layout types '&' on the first digit key; it is still the digit 1.
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_AMPERSAND, SDL_SCANCODE_1), vk::Digit1);
  // The keypad's digits are not the digit keys of the key table.
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_0, SDL_SCANCODE_KP_0), 96);
  // A Cyrillic layout still gives the letter by position.
  EXPECT_EQ(VirtualKeyFromSdl(0x0446, SDL_SCANCODE_W), vk::W);
}

TEST(KeyCodesTest, KeysWithoutACodeGiveZero) {
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY), 0);
}

}  // namespace

}  // namespace vellumor

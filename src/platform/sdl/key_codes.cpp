#include "platform/sdl/key_codes.h"

namespace vellumor::platform::sdl {

namespace {

struct KeyPair {
  std::int32_t sdl;
  std::int32_t windows;
};

// Keys whose code does not depend on the keyboard layout, by position.
constexpr KeyPair kByScancode[] = {
    {SDL_SCANCODE_KP_0, 96},        {SDL_SCANCODE_KP_1, 97},
    {SDL_SCANCODE_KP_2, 98},        {SDL_SCANCODE_KP_3, 99},
    {SDL_SCANCODE_KP_4, 100},       {SDL_SCANCODE_KP_5, 101},
    {SDL_SCANCODE_KP_6, 102},       {SDL_SCANCODE_KP_7, 103},
    {SDL_SCANCODE_KP_8, 104},       {SDL_SCANCODE_KP_9, 105},
    {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},   {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111},  {SDL_SCANCODE_KP_ENTER, 13},
    {SDL_SCANCODE_1, '1'},          {SDL_SCANCODE_2, '2'},
    {SDL_SCANCODE_3, '3'},          {SDL_SCANCODE_4, '4'},
    {SDL_SCANCODE_5, '5'},          {SDL_SCANCODE_6, '6'},
    {SDL_SCANCODE_7, '7'},          {SDL_SCANCODE_8, '8'},
    {SDL_SCANCODE_9, '9'},          {SDL_SCANCODE_0, '0'},
};

// Named keys, by what they mean.
constexpr KeyPair kBySym[] = {
    {SDLK_BACKSPACE, 8},    {SDLK_TAB, 9},          {SDLK_CLEAR, 12},
    {SDLK_RETURN, 13},      {SDLK_LSHIFT, 16},      {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},       {SDLK_RCTRL, 17},       {SDLK_LALT, 18},
    {SDLK_RALT, 18},        {SDLK_PAUSE, 19},       {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},      {SDLK_SPACE, 32},       {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},    {SDLK_END, 35},         {SDLK_HOME, 36},
    {SDLK_LEFT, 37},        {SDLK_UP, 38},          {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40},        {SDLK_SELECT, 41},      {SDLK_EXECUTE, 43},
    {SDLK_PRINTSCREEN, 44}, {SDLK_INSERT, 45},      {SDLK_DELETE, 46},
    {SDLK_HELP, 47},        {SDLK_LGUI, 91},        {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93}, {SDLK_SLEEP, 95},       {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},
};

// Punctuation keys (VK_OEM_*), by their position on a US keyboard.
constexpr KeyPair kPunctuation[] = {
    {SDL_SCANCODE_SEMICOLON, 186},  {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},      {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},     {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},      {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},  {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

template <std::size_t N>
std::int32_t Find(const KeyPair (&table)[N], std::int32_t code) {
  for (const KeyPair& pair : table) {
    if (pair.sdl == code) return pair.windows;
  }
  return 0;
}

}  // namespace

std::int32_t VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode) {
  if (std::int32_t key = Find(kByScancode, scancode)) return key;
  // Letters follow the layout (SDL's codes are the unshifted characters);
  // where the layout has no Latin character there, the key's position decides.
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  bool latin = sym >= 0 && sym < 0x80;
  if (!latin && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    return 'A' + (scancode - SDL_SCANCODE_A);
  }
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return 112 + (sym - SDLK_F1);
  if (sym >= SDLK_F13 && sym <= SDLK_F24) return 124 + (sym - SDLK_F13);
  if (std::int32_t key = Find(kBySym, sym)) return key;
  return Find(kPunctuation, scancode);
}

}  // namespace vellumor::platform::sdl

#pragma once
// Where the window's client area is and how big, as the window procedure
// last heard: the frame draws into it, the pointer confines and centres on it.

#include <cstdint>

namespace vellumor {

struct ClientArea {
  std::int32_t clientX = 0;  // screen position of the top-left corner
  std::int32_t clientY = 0;
  std::int32_t clientWidth = 0;  // pixels; 0 while minimised
  std::int32_t clientHeight = 0;
};

extern ClientArea clientArea;

}  // namespace vellumor

#include "platform/sdl/layer.h"

namespace vellumor::platform::sdl {

Layer layer;

}  // namespace vellumor::platform::sdl

#include "platform/sdl/layer.h"

namespace vellumor::platform {
namespace sdl {

Layer layer;

namespace {
std::string failure;
}

void SetFailure(const std::string& reason) { failure = reason; }

bool Deliver(const Event& event) {
  return layer.procedure == nullptr || layer.procedure(event);
}

}  // namespace sdl

const char* FailureReason() { return sdl::failure.c_str(); }

}  // namespace vellumor::platform

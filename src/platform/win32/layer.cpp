#include "platform/win32/layer.h"

namespace vellumor::platform {
namespace win32 {

Layer layer;

namespace {
std::string failure;
}

void SetFailure(const std::string& reason) { failure = reason; }

void SetFailureWithError(const std::string& reason) {
  const DWORD error = GetLastError();
  SetFailure(error == 0 ? reason : reason + " (Windows error " + std::to_string(error) + ")");
}

bool Deliver(const Event& event) { return layer.procedure == nullptr || layer.procedure(event); }

}  // namespace win32

const char* FailureReason() { return win32::failure.c_str(); }

}  // namespace vellumor::platform

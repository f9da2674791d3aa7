#include "platform/win32/layer.h"

namespace vellumor::platform::win32 {

Layer layer;

void SetFailureWithError(const std::string& reason, DWORD error, const char* remedy) {
  SetFailure((error == 0 ? reason : reason + " (Windows error " + std::to_string(error) + ")") + remedy);
}

}  // namespace vellumor::platform::win32

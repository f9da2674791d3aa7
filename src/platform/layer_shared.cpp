#include "platform/layer_shared.h"

namespace vellumor::platform {

namespace {
std::string failure;
}  // namespace

void SetFailure(const std::string& reason) { failure = reason; }

const char* FailureReason() { return failure.c_str(); }

ContextStep BeforeRenderingContext(bool hasWindow, bool hasContext) {
  if (!hasWindow) {
    SetFailure("no OpenGL context: there is no window");
    return ContextStep::NoWindow;
  }
  return hasContext ? ContextStep::AlreadyMade : ContextStep::Make;
}

bool BeforeFontLists(bool hasContext) {
  if (!hasContext) SetFailure("no font: there is no OpenGL context");
  return hasContext;
}

}  // namespace vellumor::platform

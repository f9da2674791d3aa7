#include "app/program.h"

#include <cstdio>

#include "app/shell.h"
#include "platform/platform.h"

namespace vellumor {

int RunProgram() {
  const platform::WindowPlacement placement{"vellumor", "Vellumor", 100, 100, 256, 256};
  if (!platform::CreateMainWindow(placement, WindowProc)) {
    std::fprintf(stderr, "vellumor: %s\n", platform::FailureReason());
    return 1;
  }
  return platform::RunMessageLoop();
}

}  // namespace vellumor

// The window procedure events go to, apart from the rest of what the layers
// share, so that the emulation can be linked beside a fake layer.

#include "platform/layer_shared.h"

namespace vellumor::platform {

namespace {
WindowProcedure procedure = nullptr;
}  // namespace

void SetWindowProcedure(WindowProcedure windowProcedure) { procedure = windowProcedure; }

bool Deliver(const Event& event) { return procedure == nullptr || procedure(event); }

}  // namespace vellumor::platform

#include "app/gl_context.h"

#include "app/frame.h"
#include "app/shell_state.h"
#include "platform/platform.h"

namespace vellumor {

bool CreateGlContext() {
  if (!platform::CreateRenderingContext()) return false;
  shell.textOverlay.fontListBase = platform::CreateFontLists();
  if (shell.textOverlay.fontListBase == 0) return false;
  InitView();
  return true;
}

}  // namespace vellumor

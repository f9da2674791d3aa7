#include "app/gl_context.h"

#include "app/frame.h"
#include "platform/platform.h"

namespace vellumor {

bool CreateGlContext() {
  if (!platform::CreateRenderingContext()) return false;
  fontListBase = platform::CreateFontLists();
  if (fontListBase == 0) return false;
  InitView();
  return true;
}

}  // namespace vellumor

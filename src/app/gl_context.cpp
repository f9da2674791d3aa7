#include "app/gl_context.h"

#include <GL/gl.h>

#include "app/frame.h"
#include "app/shell_state.h"
#include "platform/platform.h"

namespace vellumor {

bool CreateGlContext() {
  if (!platform::CreateRenderingContext()) return false;
  shell.textOverlay.fontListBase = platform::CreateFontLists(shell.textOverlay.dpi);
  if (shell.textOverlay.fontListBase == 0) return false;
  InitView();
  return true;
}

void OnDpiChanged(std::int32_t dpi) {
  constexpr GLsizei kFontLists = 256;
  TextOverlay& overlay = shell.textOverlay;
  if (dpi <= 0 || dpi == overlay.dpi) return;
  const std::uint32_t lists = platform::CreateFontLists(dpi);
  if (lists == 0) return;
  if (overlay.fontListBase != 0) glDeleteLists(overlay.fontListBase, kFontLists);
  overlay.fontListBase = lists;
  overlay.dpi = dpi;
}

}  // namespace vellumor

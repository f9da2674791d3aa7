// The display's scale as the desktop tells it. X11 desktops (GNOME, KDE,
// Xfce) publish it as Xft.dpi among the root window's resources and leave
// the pixels to the program; Wayland scales the drawable itself, which
// SendSize measures as the drawable's pixels per window unit.

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/sdl/layer.h"

// Last: Xlib's macros (CursorShape, None, Bool) would clash with the names above.
#include <SDL_syswm.h>

namespace vellumor::platform::sdl {

std::int32_t XftDpi(const char* resources) {
  constexpr std::string_view kName = "Xft.dpi:";
  std::string_view rest = resources != nullptr ? resources : "";
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    if (!line.starts_with(kName)) continue;
    const double dpi = std::strtod(std::string(line.substr(kName.size())).c_str(), nullptr);
    return dpi >= 1.0 && dpi < 10000.0 ? static_cast<std::int32_t>(std::lround(dpi)) : 0;
  }
  return 0;
}

std::int32_t DesktopDpi(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return kPlainDpi;
  const std::int32_t dpi = XftDpi(XResourceManagerString(info.info.x11.display));
  return dpi > 0 ? dpi : kPlainDpi;
}

}  // namespace vellumor::platform::sdl

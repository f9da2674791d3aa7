// The window's OpenGL 1.1 context through WGL, and the system font as
// display lists.

#include <GL/gl.h>

#include <string>

#include "platform/win32/layer.h"

namespace vellumor::platform {

namespace win32 {

// A window to draw to, double-buffered RGBA with a 32-bit depth buffer; the
// colour depth is the display's. Without PFD_DRAW_TO_WINDOW a driver may
// answer with a format for bitmaps or printers.
PIXELFORMATDESCRIPTOR PixelFormatRequest() {
  PIXELFORMATDESCRIPTOR request{};
  request.nSize = sizeof request;
  request.nVersion = 1;
  request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL;
  request.iPixelType = PFD_TYPE_RGBA;
  request.cColorBits = 0;
  request.cDepthBits = 32;
  request.iLayerType = PFD_MAIN_PLANE;
  return request;
}

// ChoosePixelFormat gives the nearest format it has, which need not be one asked for.
bool DrawsToAWindowWithOpenGl(const PIXELFORMATDESCRIPTOR& format) {
  constexpr DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  return (format.dwFlags & needed) == needed;
}

HFONT SystemFontAt(int dpi) {
  constexpr int kSystemFontHeight = 16;  // the system font's cell at 96 DPI, in pixels
  LOGFONTA stock{};
  GetObjectA(GetStockObject(SYSTEM_FONT), sizeof stock, &stock);
  LOGFONTA font{};
  font.lfHeight = ScaledToDpi(kSystemFontHeight, dpi);
  font.lfWeight = stock.lfWeight != 0 ? stock.lfWeight : FW_BOLD;
  font.lfCharSet = stock.lfCharSet;
  font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  font.lfQuality = NONANTIALIASED_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  static_assert(sizeof font.lfFaceName == sizeof stock.lfFaceName);
  CopyMemory(font.lfFaceName, stock.lfFaceName, sizeof font.lfFaceName);
  return CreateFontIndirectA(&font);
}

void ReleaseGlContext() {
  if (layer.glContext != nullptr) {
    if (wglGetCurrentContext() == layer.glContext) wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(layer.glContext);
  }
  if (layer.deviceContext != nullptr) ReleaseDC(layer.windowHandle, layer.deviceContext);
  layer.glContext = nullptr;
  layer.deviceContext = nullptr;
}

}  // namespace win32

using win32::layer;

bool CreateRenderingContext() {
  switch (BeforeRenderingContext(layer.windowHandle != nullptr, layer.glContext != nullptr)) {
    case ContextStep::NoWindow: return false;
    case ContextStep::AlreadyMade: return true;
    case ContextStep::Make: break;
  }

  layer.deviceContext = GetDC(layer.windowHandle);
  const PIXELFORMATDESCRIPTOR request = win32::PixelFormatRequest();
  const auto [format, chooseError] =
      win32::Checked([&] { return ChoosePixelFormat(layer.deviceContext, &request); });
  if (format == 0) {
    win32::SetFailureWithError("no OpenGL context: no double-buffered RGBA pixel format with OpenGL", chooseError,
                               win32::kUpdateTheDriver);
    return false;
  }
  PIXELFORMATDESCRIPTOR chosen{};
  const auto [described, describeError] =
      win32::Checked([&] { return DescribePixelFormat(layer.deviceContext, format, sizeof chosen, &chosen); });
  if (described == 0) {
    win32::SetFailureWithError("no OpenGL context: no double-buffered RGBA pixel format with OpenGL", describeError,
                               win32::kUpdateTheDriver);
    return false;
  }
  if (!win32::DrawsToAWindowWithOpenGl(chosen)) {
    SetFailure(std::string("no OpenGL context: the display's nearest pixel format cannot draw to a window with OpenGL") +
               win32::kUpdateTheDriver);
    return false;
  }
  const auto [formatSet, setError] =
      win32::Checked([&] { return SetPixelFormat(layer.deviceContext, format, &request); });
  if (!formatSet) {
    win32::SetFailureWithError("no OpenGL context: the window does not take the pixel format", setError,
                               win32::kUpdateTheDriver);
    return false;
  }
  const auto [context, createError] = win32::Checked([&] { return wglCreateContext(layer.deviceContext); });
  if (context == nullptr) {
    win32::SetFailureWithError("no OpenGL context: wglCreateContext failed", createError, win32::kUpdateTheDriver);
    return false;
  }
  layer.glContext = context;
  const auto [current, currentError] =
      win32::Checked([&] { return wglMakeCurrent(layer.deviceContext, layer.glContext); });
  if (!current) {
    win32::SetFailureWithError("no OpenGL context: wglMakeCurrent failed", currentError, win32::kUpdateTheDriver);
    wglDeleteContext(layer.glContext);
    layer.glContext = nullptr;
    return false;
  }
  return true;
}

// At 96 DPI the stock system font itself; at another DPI, whose bitmap
// font would only be stretched, an outline font of its face and weight at
// as many more pixels (the glyphs go into the lists, the font goes after).
std::uint32_t CreateFontLists(std::int32_t dpi) {
  if (!BeforeFontLists(layer.glContext != nullptr)) return 0;
  HFONT scaled = dpi == kPlainDpi ? nullptr : win32::SystemFontAt(dpi);
  SelectObject(layer.deviceContext, scaled != nullptr ? scaled : GetStockObject(SYSTEM_FONT));
  const GLuint base = glGenLists(kGlyphCount);
  // Some drivers fail the first call made right after the context became
  // current, and succeed on the second.
  const auto render = [&] { return wglUseFontBitmapsA(layer.deviceContext, 0, kGlyphCount, base); };
  win32::Outcome<BOOL> rendered{FALSE, 0};
  if (base != 0) rendered = win32::Checked(render);
  if (base != 0 && !rendered.result) rendered = win32::Checked(render);
  if (scaled != nullptr) {
    SelectObject(layer.deviceContext, GetStockObject(SYSTEM_FONT));
    DeleteObject(scaled);
  }
  if (base == 0) {
    SetFailure(kNoRoomForGlyphs);
    return 0;
  }
  if (!rendered.result) {
    win32::SetFailureWithError("no font: wglUseFontBitmapsA cannot render the system font", rendered.error,
                               win32::kUpdateTheDriver);
    glDeleteLists(base, kGlyphCount);
    return 0;
  }
  return base;
}

void SwapBuffers() {
  if (layer.deviceContext != nullptr) ::SwapBuffers(layer.deviceContext);
}

}  // namespace vellumor::platform

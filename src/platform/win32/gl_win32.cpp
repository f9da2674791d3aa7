// The window's OpenGL 1.1 context through WGL, and the system font as
// display lists.

#include <GL/gl.h>

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
  const int format = ChoosePixelFormat(layer.deviceContext, &request);
  PIXELFORMATDESCRIPTOR chosen{};
  if (format == 0 || DescribePixelFormat(layer.deviceContext, format, sizeof chosen, &chosen) == 0) {
    win32::SetFailureWithError("no OpenGL context: no double-buffered RGBA pixel format with OpenGL");
    return false;
  }
  if (!win32::DrawsToAWindowWithOpenGl(chosen)) {
    SetFailure("no OpenGL context: the display's nearest pixel format cannot draw to a window with OpenGL");
    return false;
  }
  if (!SetPixelFormat(layer.deviceContext, format, &request)) {
    win32::SetFailureWithError("no OpenGL context: the window does not take the pixel format");
    return false;
  }
  layer.glContext = wglCreateContext(layer.deviceContext);
  if (layer.glContext == nullptr) {
    win32::SetFailureWithError("no OpenGL context: wglCreateContext failed");
    return false;
  }
  if (!wglMakeCurrent(layer.deviceContext, layer.glContext)) {
    win32::SetFailureWithError("no OpenGL context: wglMakeCurrent failed");
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
  const bool made = base != 0 && (wglUseFontBitmapsA(layer.deviceContext, 0, kGlyphCount, base) ||
                                  wglUseFontBitmapsA(layer.deviceContext, 0, kGlyphCount, base));
  if (scaled != nullptr) {
    SelectObject(layer.deviceContext, GetStockObject(SYSTEM_FONT));
    DeleteObject(scaled);
  }
  if (base == 0) {
    SetFailure(kNoRoomForGlyphs);
    return 0;
  }
  if (!made) {
    win32::SetFailureWithError("no font: wglUseFontBitmapsA cannot render the system font");
    glDeleteLists(base, kGlyphCount);
    return 0;
  }
  return base;
}

void SwapBuffers() {
  if (layer.deviceContext != nullptr) ::SwapBuffers(layer.deviceContext);
}

}  // namespace vellumor::platform

// The canvas's WebGL 1 context, with our OpenGL 1.1 over it.

#include <emscripten/html5.h>

#include <cstdio>
#include <string>

#include "platform/web/font_glyphs.h"
#include "gl_over_webgl/webgl.h"
#include "platform/web/layer.h"

namespace vellumor::platform {

using web::layer;

namespace {

// The browser takes a context back when the GPU resets or a page holds too
// many. Asking for it again (true: the event's default is prevented) gets it
// back empty; the viewer draws each frame from scratch, so once the subset's
// shader and buffers are made again the next frame is whole.
EM_BOOL OnContextLost(int, const void*, void*) {
  layer.contextLost = true;
  return EM_TRUE;
}

EM_BOOL OnContextRestored(int, const void*, void*) {
  std::string reason;
  if (!webgl::StartRenderer(reason)) {
    std::fprintf(stderr, "vellumor: WebGL came back unusable: %s\n", reason.c_str());
    Quit(1);
    return EM_TRUE;
  }
  layer.contextLost = false;
  return EM_TRUE;
}

}  // namespace

bool CreateRenderingContext() {
  switch (BeforeRenderingContext(layer.open, layer.glContext > 0)) {
    case ContextStep::NoWindow: return false;
    case ContextStep::AlreadyMade: return true;
    case ContextStep::Make: break;
  }
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 1;
  attributes.minorVersion = 0;
  // An opaque buffer: the clear colour's alpha of 0 must not let the page through.
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_TRUE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;  // as the desktop's pixel format
  attributes.premultipliedAlpha = EM_FALSE;
  // What was drawn stays in the buffer after it is shown, so the canvas can be read back.
  attributes.preserveDrawingBuffer = EM_TRUE;
  // A software renderer is still a renderer.
  attributes.failIfMajorPerformanceCaveat = EM_FALSE;
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(layer.canvas.c_str(), &attributes);
  if (context <= 0) {
    SetFailure("no WebGL: this browser gives the page no WebGL context");
    return false;
  }
  if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
    emscripten_webgl_destroy_context(context);
    SetFailure("no WebGL: the page's WebGL context cannot be made current");
    return false;
  }
  std::string reason;
  if (!webgl::StartRenderer(reason)) {
    emscripten_webgl_destroy_context(context);
    SetFailure("no WebGL: " + reason);
    return false;
  }
  layer.glContext = context;
  emscripten_set_webglcontextlost_callback(layer.canvas.c_str(), nullptr, EM_FALSE, OnContextLost);
  emscripten_set_webglcontextrestored_callback(layer.canvas.c_str(), nullptr, EM_FALSE, OnContextRestored);
  return true;
}

// The desktop's glyphs, compiled in at the sizes of the usual device pixel
// ratios: the browser has neither the font nor FreeType.
std::uint32_t CreateFontLists(std::int32_t dpi) {
  if (!BeforeFontLists(layer.glContext > 0)) return 0;
  const std::uint32_t first = webgl::CompileGlyphLists(dpi);
  if (first == 0) SetFailure(kNoRoomForGlyphs);
  return first;
}

// The browser shows what was drawn when the animation frame's callback returns.
void SwapBuffers() {}

}  // namespace vellumor::platform

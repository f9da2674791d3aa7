#pragma once
// The web layer's entry to the OpenGL 1.1 subset over WebGL. The core and
// the shell call OpenGL 1.1 under its own names; this library defines those
// names and draws through WebGL 1, so the program links against it in place
// of an OpenGL library.

#include <string>

namespace vellumor::webgl {

// Call after the web layer has created a WebGL 1 context and made it current
// (antialias off, depth on, alpha off, preserveDrawingBuffer on so that the
// canvas can be read back), and again when a lost context is restored: all
// of OpenGL's state lives in the subset, so nothing else needs making again.
// Compiles the shaders and makes the buffers; false, with a one-line reason,
// when WebGL refuses. glFinish hands everything gathered to WebGL.
//
// Window coordinates are the drawing buffer's pixels: glBitmap places text in
// them, read from the context whenever needed, so a resize needs no call
// here, but the client size the shell is given must be the drawing buffer's.
bool StartRenderer(std::string& reason);

}  // namespace vellumor::webgl

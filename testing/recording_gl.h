#pragma once
// A recording OpenGL for the unit tests. It defines the GL 1.1 functions the
// program calls; each applies the call to the model of the state
// (gl_state_model.h) and logs it (gl_call_log.h). Nothing is rasterised.
//
//   Frame and buffers       glClearDepth glClearColor glClear glViewport glFinish glDepthMask
//   Enables and attributes  glEnable glDisable glPushAttrib glPopAttrib glPolygonMode
//                           glShadeModel glBlendFunc glPointSize glLightfv
//   Matrices                glMatrixMode glLoadIdentity glPushMatrix glPopMatrix
//                           glOrtho glFrustum glRotated glTranslated glScaled
//   Immediate mode          glBegin glEnd glVertex3d glVertex3dv glNormal3dv glColor3d glColor4d
//   Vertex arrays           glEnableClientState glDisableClientState glVertexPointer glDrawElements
//   Text                    glRasterPos2i glListBase glCallLists

#include "testing/gl_call_log.h"
#include "testing/gl_state_model.h"

namespace vellumor::recgl {

// Forgets every call, primitive and text and returns the state to OpenGL's initial one.
void Reset();
// Recording off keeps tracking state but stores no calls, primitives or text (and allocates nothing).
void SetRecording(bool on);

}  // namespace vellumor::recgl

#include "terrain/ground_overlay.h"

#include <GL/gl.h>

namespace vellumor {

void GroundOverlay::Draw() const {
  glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT);
  glColor4d(0.0, 0.0, 1.0, 0.5);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  // Depth-tested against the terrain, but terrain below the water still shows through.
  glDepthMask(GL_FALSE);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glBegin(GL_TRIANGLE_STRIP);
  glVertex3d(bounds.min.x, height, bounds.min.z);
  glVertex3d(bounds.max.x, height, bounds.min.z);
  glVertex3d(bounds.min.x, height, bounds.max.z);
  glVertex3d(bounds.max.x, height, bounds.max.z);
  glEnd();
  glDepthMask(GL_TRUE);
  // Restores enables and polygon mode only; the text overlay relies on the
  // colour and blend function left behind.
  glPopAttrib();
}

}  // namespace vellumor

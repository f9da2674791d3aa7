#include "view/frustum_drawing.h"

#include <GL/gl.h>

#include "view/camera.h"
#include "view/quad_mesh.h"

namespace vellumor {

void DrawFrustum(const Camera& camera) {
  glPushAttrib(GL_POLYGON_BIT | GL_ENABLE_BIT);
  // Over everything else, and unlit so that the colours below show.
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);

  glColor3d(1.0, 1.0, 0.0);
  const QuadMesh box(camera.corners, BoxFaces);
  box.Draw();

  glColor3d(1.0, 1.0, 1.0);
  glPointSize(2.0f);
  const double eye[3] = {camera.position.x, camera.position.y, camera.position.z};
  glBegin(GL_POINTS);
  glVertex3dv(eye);
  glEnd();
  // Brings back depth test, lighting and polygon mode; colour and point size stay.
  glPopAttrib();
}

}  // namespace vellumor

#include "view/view.h"

#include <GL/gl.h>

#include <cstdint>

#include "geometry/angles.h"
#include "view/camera.h"
#include "view/scene.h"

namespace vellumor {

namespace {
// How far the orthographic views see along their direction of view, either side
// of the eye. GL drivers keep matrices in single precision, where a range of
// plus and minus the largest double becomes infinite and the projection NaN,
// which draws nothing at all; this range clips nothing the scene draws near the
// view and leaves the depth buffer resolution enough to sort the terrain.
constexpr double kOrthoDepth = 1.0e7;
constexpr std::int64_t kMaxExtent = INT32_MAX;
}  // namespace

View::View(Scene* scene, Camera* camera) : scene(scene), camera(camera) {}

void View::SetRect(const ViewRect& r) { rect = r; }

void View::RenderView() {
  const std::int64_t width = std::int64_t{rect.x1} - rect.x0 + 1;
  const std::int64_t height = std::int64_t{rect.y1} - rect.y0 + 1;
  // A minimised window has no pixels to draw into, and its shape would divide
  // by zero below; the next frame with a proper size draws afresh.
  if (width < 1 || height < 1 || width > kMaxExtent || height > kMaxExtent) {
    return;
  }
  glViewport(rect.x0, rect.y0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
  camera->UpdateFrustum();

  const double w = static_cast<double>(width);
  const double h = static_cast<double>(height);
  const double a = camera->aspect;
  double fx = 1.0;
  double fy = 1.0;
  if (a >= 1.0) {
    fy = (h / w) * (1.0 / a);
  } else {
    fx = a * (w / h);
  }

  if (mode == ViewMode::Perspective) {
    const Frustum& f = camera->frustum;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(f.left * fx, f.right * fx, f.bottom * fy, f.top * fy, f.zNear, f.zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(camera->pitch / kRadiansPerDegree, 1.0, 0.0, 0.0);
    glRotated(camera->yaw / kRadiansPerDegree, 0.0, 1.0, 0.0);
  } else {
    // The radius is the half-width of what is seen.
    const double r = camera->radius;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-r * fx, r * fx, -r * fy, r * fy, -kOrthoDepth, kOrthoDepth);
    unitsPerPixelX = (2.0 * r * fx) / w;
    unitsPerPixelY = (2.0 * r * fy) / h;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (mode == ViewMode::Side) {
      glRotated(90.0, 0.0, -1.0, 0.0);
    } else if (mode == ViewMode::Top) {
      glRotated(90.0, 1.0, 0.0, 0.0);
    }
  }

  // World relative to the eye, z mirrored into OpenGL's right-handed eye space.
  const Vec3& p = camera->position;
  glTranslated(-p.x, -p.y, p.z);
  glScaled(1.0, 1.0, -1.0);
  scene->Render();
}

void View::BeginPan() { panOrigin = camera->position; }

void View::Pan(std::int32_t dx, std::int32_t dy) {
  // Always from where the drag began, so the point under the pointer stays under it.
  const Vec3& o = panOrigin;
  const double ux = unitsPerPixelX;
  const double uy = unitsPerPixelY;
  Vec3& p = camera->position;
  switch (mode) {
    case ViewMode::Front:
      p = {o.x - dx * ux, o.y + dy * uy, o.z};
      break;
    case ViewMode::Side:
      p = {o.x, o.y + dy * uy, o.z - dx * ux};
      break;
    case ViewMode::Top:
      p = {o.x - dx * ux, o.y, o.z + dy * uy};
      break;
    case ViewMode::Perspective:
      break;
  }
}

}  // namespace vellumor

#include "terrain/terrain.h"

#include <GL/gl.h>

#include <cmath>
#include <cstddef>
#include <new>
#include <stdexcept>

#include "terrain/face_normal.h"
#include "terrain/height.h"

namespace vellumor {

namespace {

// The grid's extent in world units and its sample counts, all as doubles so
// that a far or degenerate box can be judged before anything is converted.
struct GridExtent {
  double x0 = 0.0;
  double x1 = 0.0;
  double z0 = 0.0;
  double z1 = 0.0;
  double columns = 0.0;
  double rows = 0.0;
};

// Snaps the box to multiples of u with a margin of two units. trunc() in double
// is the integer conversion towards zero wherever an integer type would hold
// the value, and keeps the grid going far out where none would.
bool Snap(const BoundingBox& b, double u, GridExtent& g) {
  g.x0 = u * std::trunc((b.min.x - 2.0 * u) / u);
  g.x1 = u * std::trunc((b.max.x + 2.0 * u) / u);
  g.z0 = u * std::trunc((b.min.z - 2.0 * u) / u);
  g.z1 = u * std::trunc((b.max.z + 2.0 * u) / u);
  g.columns = std::trunc((g.x1 - g.x0) / u) + 1.0;
  g.rows = std::trunc((g.z1 - g.z0) / u);
  return std::isfinite(g.x0) && std::isfinite(g.x1) && std::isfinite(g.z0) && std::isfinite(g.z1) &&
         std::isfinite(g.columns) && std::isfinite(g.rows);
}

// A box from a degenerate field of view holds infinities or NaN; one written
// by hand may be inverted. Neither has a grid.
bool HasGroundExtent(const BoundingBox& b) {
  return std::isfinite(b.min.x) && std::isfinite(b.max.x) && std::isfinite(b.min.z) && std::isfinite(b.max.z) &&
         b.min.x <= b.max.x && b.min.z <= b.max.z;
}

bool Fail(Terrain& terrain) {
  terrain.columns = 0;
  terrain.rows = 0;
  return false;
}

}  // namespace

bool LayOutGrid(Terrain& t, GridLayout& layout) {
  if (IsEmpty(t.bounds)) {
    return false;
  }
  double u = t.unit;
  if (!HasGroundExtent(t.bounds) || !(std::isfinite(u) && u > 0.0)) {
    return Fail(t);
  }
  // Past the cap, or where a tiny unit overflows the snapping, grid coarser
  // by factors of two: the terrain stays visible and memory stays bounded,
  // whatever unit the keys have made.
  GridExtent g;
  while (!Snap(t.bounds, u, g) || (g.rows + 1.0) * g.columns > static_cast<double>(kMaxGridSamples)) {
    u *= 2.0;
    if (!std::isfinite(u)) {
      return Fail(t);
    }
  }
  t.columns = static_cast<std::int32_t>(g.columns);
  t.rows = static_cast<std::int32_t>(g.rows);

  const std::size_t size = 3 * static_cast<std::size_t>(t.columns) * (static_cast<std::size_t>(t.rows) + 1);
  try {
    // Capacity is kept from frame to frame, so a steady view allocates nothing.
    t.vertices.resize(size);
    t.normals.resize(size);
  } catch (const std::bad_alloc&) {
    return Fail(t);
  } catch (const std::length_error&) {
    return Fail(t);
  }
  layout = GridLayout{g.x0, g.z0, u, t.columns, t.rows};
  return true;
}

bool BuildGrid(Terrain& t) {
  GridLayout layout;
  if (!LayOutGrid(t, layout)) {
    return false;
  }
  try {
    t.sampler.Sample(layout, NoiseParameters{t.octaves, t.amp, t.freq, t.h}, t.vertices.data(), t.normals.data());
  } catch (const std::bad_alloc&) {
    return Fail(t);
  } catch (const std::length_error&) {
    return Fail(t);
  }
  return true;
}

Vec3 Terrain::FaceNormal(std::int32_t i, std::int32_t j) const {
  const std::size_t stride = 3 * static_cast<std::size_t>(columns);
  const double* p = vertices.data() + static_cast<std::size_t>(i) * stride + 3 * static_cast<std::size_t>(j);
  const double* a = p + stride;  // next row
  const double* b = p + 3;       // next column
  const double ax = a[0] - p[0];
  const double ay = a[1] - p[1];
  const double az = a[2] - p[2];
  const double bx = b[0] - p[0];
  const double by = b[1] - p[1];
  const double bz = b[2] - p[2];
  const Vec3 cross{ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
  if (!NormalisesDirectly(0.0 + cross.x * cross.x + cross.y * cross.y + cross.z * cross.z)) {
    return ScaledFaceNormal({p[0], p[1], p[2]}, {a[0], a[1], a[2]}, {b[0], b[1], b[2]});
  }
  return Normalized(cross);
}

void Terrain::Draw() {
  if (IsEmpty(bounds)) {
    return;
  }
  // Left set for what follows in the frame.
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glColor3d(0.0, 0.0, 1.0);
  glPolygonMode(GL_FRONT, GL_FILL);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_LIGHT0);

  // A positional light one unit behind the eye, moving with the viewer.
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  const GLfloat lightPosition[4] = {0.0f, 0.0f, 1.0f, 1.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
  glPopMatrix();

  if (!BuildGrid(*this)) {
    return;
  }

  const std::size_t stride = 3 * static_cast<std::size_t>(columns);
  for (std::int32_t i = 1; i <= rows - 3; ++i) {
    const std::size_t row = static_cast<std::size_t>(i) * stride;
    glBegin(GL_TRIANGLE_STRIP);
    for (std::int32_t j = 1; j <= columns - 3; ++j) {
      const std::size_t here = row + 3 * static_cast<std::size_t>(j);
      const std::size_t next = here + stride;
      glNormal3dv(&normals[next]);
      glVertex3dv(&vertices[next]);
      glNormal3dv(&normals[here]);
      glVertex3dv(&vertices[here]);
    }
    glEnd();
  }
}

}  // namespace vellumor

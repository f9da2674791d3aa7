#include "view/quad_mesh.h"

#include <GL/gl.h>

#include <algorithm>

namespace vellumor {

QuadMesh::QuadMesh(std::span<const Vec3> vertices, std::span<const Quad> quads)
    : faceCount(static_cast<std::int32_t>(quads.size())) {
  double* v = inlineVertices.data();
  if (vertices.size() > kInlineVertices) {
    heapVertices.resize(3 * vertices.size());
    v = heapVertices.data();
  }
  for (const Vec3& p : vertices) {
    v[0] = p.x;
    v[1] = p.y;
    v[2] = p.z;
    v += 3;
  }
  if (quads.size() > kInlineQuads) {
    heapQuads.assign(quads.begin(), quads.end());
  } else {
    std::copy(quads.begin(), quads.end(), inlineQuads.begin());
  }
}

const double* QuadMesh::Vertices() const {
  return heapVertices.empty() ? inlineVertices.data() : heapVertices.data();
}

const Quad* QuadMesh::Quads() const { return heapQuads.empty() ? inlineQuads.data() : heapQuads.data(); }

void QuadMesh::Draw() const {
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_DOUBLE, 0, Vertices());
  const Quad* quads = Quads();
  for (std::int32_t i = 0; i < faceCount; ++i) {
    glDrawElements(GL_QUADS, 4, GL_UNSIGNED_INT, quads[i].data());
  }
  glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace vellumor

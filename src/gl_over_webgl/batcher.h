#pragma once
// Gathers a frame's primitives into as few backend draws as the state
// allows: one batch holds the vertices drawn with one raster state and one
// matrix, each written once, and the indices of its points, lines and
// triangles in drawing order. Storage keeps its capacity, so a steady frame
// allocates nothing.

#include <cstdint>
#include <vector>

#include "gl_over_webgl/backend.h"

namespace vellumor::webgl {

class Batcher {
 public:
  // Vertices from now on are drawn with these states; a batch with others is
  // drawn first.
  void Use(const RasterState& raster, const Shading& shading);
  // Whether the batch has room for `vertices` more vertices.
  bool Room(std::size_t vertices) const { return vertices_.size() + vertices <= kBatchVertices; }
  // Appends a vertex (Room first); its index in the batch.
  std::uint16_t Add(const Vertex& vertex) {
    vertices_.push_back(vertex);
    return static_cast<std::uint16_t>(vertices_.size() - 1);
  }
  // One primitive or more of `kind`: two indices a line, three a triangle.
  void Draw(Primitive kind, const std::uint16_t* indices, int count);
  void Triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    if (segments_.empty() || segments_.back().kind != Primitive::Triangles) OpenSegment(Primitive::Triangles);
    indices_.push_back(a);
    indices_.push_back(b);
    indices_.push_back(c);
    segments_.back().count += 3;
  }
  // Hands the batch to the backend (if any) and empties it.
  void Flush();
  void SetBackend(Backend* backend) { backend_ = backend; }
  Backend* backend() const { return backend_; }

 private:
  void OpenSegment(Primitive kind);

  Backend* backend_ = nullptr;
  RasterState raster_;
  Shading shading_;
  std::vector<Vertex> vertices_;
  std::vector<std::uint16_t> indices_;
  std::vector<Segment> segments_;
};

}  // namespace vellumor::webgl

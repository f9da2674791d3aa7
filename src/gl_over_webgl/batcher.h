#pragma once
// Gathers primitives into as few backend draws as the state allows: one
// batch holds one kind of primitive drawn with one raster state, its
// vertices shared through 16-bit indices. Storage keeps its capacity, so a
// steady frame allocates nothing.

#include <cstdint>
#include <vector>

#include "gl_over_webgl/backend.h"

namespace vellumor::webgl {

class Batcher {
 public:
  // Primitives from now on index into `source` (one glBegin's vertices).
  void Begin(const std::vector<Vertex>& source);
  // Primitives from now on are of `kind`, drawn with `state`; a batch of
  // another kind or state is drawn first.
  void Use(Primitive kind, const RasterState& state);
  // One primitive: one, two or three indices into the source, as the kind needs.
  void Add(const std::uint32_t* indices, int count);
  // Hands the batch to the backend (if any) and empties it.
  void Flush();
  void SetBackend(Backend* backend) { backend_ = backend; }
  Backend* backend() const { return backend_; }

 private:
  static constexpr std::uint32_t kUnused = ~std::uint32_t{0};
  static constexpr std::size_t kMaxVertices = 65536;

  Backend* backend_ = nullptr;
  Primitive kind_ = Primitive::Triangles;
  RasterState state_;
  const std::vector<Vertex>* source_ = nullptr;
  std::vector<std::uint32_t> slot_;  // per source vertex: its index in the batch, or kUnused
  std::vector<Vertex> vertices_;
  std::vector<std::uint16_t> indices_;
};

}  // namespace vellumor::webgl

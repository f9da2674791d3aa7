#include "gl_over_webgl/batcher.h"

#include <algorithm>

namespace vellumor::webgl {

void Batcher::Begin(const std::vector<Vertex>& source) {
  source_ = &source;
  slot_.assign(source.size(), kUnused);
}

void Batcher::Use(Primitive kind, const RasterState& state) {
  if (!indices_.empty() && (kind != kind_ || !(state == state_))) Flush();
  kind_ = kind;
  state_ = state;
}

void Batcher::Add(const std::uint32_t* indices, int count) {
  if (vertices_.size() + static_cast<std::size_t>(count) > kMaxVertices) Flush();
  for (int i = 0; i < count; ++i) {
    std::uint32_t& slot = slot_[indices[i]];
    if (slot == kUnused) {
      slot = static_cast<std::uint32_t>(vertices_.size());
      vertices_.push_back((*source_)[indices[i]]);
    }
    indices_.push_back(static_cast<std::uint16_t>(slot));
  }
}

void Batcher::Flush() {
  if (backend_ != nullptr && !indices_.empty()) {
    backend_->Draw(kind_, state_, vertices_.data(), vertices_.size(), indices_.data(), indices_.size());
  }
  vertices_.clear();
  indices_.clear();
  std::fill(slot_.begin(), slot_.end(), kUnused);
}

}  // namespace vellumor::webgl

#include "gl_over_webgl/batcher.h"

namespace vellumor::webgl {

void Batcher::Use(const RasterState& raster, const Shading& shading) {
  if (raster == batch_.raster && shading == batch_.shading) return;
  Flush();
  batch_.raster = raster;
  batch_.shading = shading;
}

void Batcher::OpenSegment(Primitive kind) { segments_.push_back({kind, static_cast<std::uint32_t>(indices_.size()), 0}); }

void Batcher::Draw(Primitive kind, const std::uint16_t* indices, int count) {
  if (segments_.empty() || segments_.back().kind != kind) OpenSegment(kind);
  for (int i = 0; i < count; ++i) indices_.push_back(indices[i]);
  segments_.back().count += static_cast<std::uint32_t>(count);
}

void Batcher::Flush() {
  if (backend_ != nullptr && !segments_.empty()) {
    batch_.vertexCount = static_cast<std::uint32_t>(vertices_.size());
    batch_.segmentCount = static_cast<std::uint32_t>(segments_.size());
    backend_->Draw({vertices_.data(), vertices_.size(), indices_.data(), indices_.size(), segments_.data(), &batch_, 1});
  }
  vertices_.clear();
  indices_.clear();
  segments_.clear();
}

}  // namespace vellumor::webgl

#include "gl_over_webgl/batcher.h"

namespace vellumor::webgl {

void Batcher::Use(const RasterState& raster, const Shading& shading) {
  if (raster == raster_ && shading == shading_) return;
  Flush();
  raster_ = raster;
  shading_ = shading;
}

void Batcher::OpenSegment(Primitive kind) { segments_.push_back({kind, static_cast<std::uint32_t>(indices_.size()), 0}); }

void Batcher::Draw(Primitive kind, const std::uint16_t* indices, int count) {
  if (segments_.empty() || segments_.back().kind != kind) OpenSegment(kind);
  for (int i = 0; i < count; ++i) indices_.push_back(indices[i]);
  segments_.back().count += static_cast<std::uint32_t>(count);
}

void Batcher::Flush() {
  if (backend_ != nullptr && !segments_.empty()) {
    backend_->Draw({raster_, shading_, vertices_.data(), vertices_.size(), indices_.data(), indices_.size(),
                    segments_.data(), segments_.size()});
  }
  vertices_.clear();
  indices_.clear();
  segments_.clear();
}

}  // namespace vellumor::webgl

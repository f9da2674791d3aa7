#include <malloc.h>

#include "platform/sdl/layer.h"

namespace vellumor::platform::sdl {

// Mesa's software renderer allocates and frees blocks of a few hundred
// kilobytes every frame. Above glibc's default thresholds each one is mapped
// and unmapped again (or the heap top trimmed), and the page faults cost more
// than the drawing. Keep such blocks in the heap instead.
void TuneAllocator() {
  constexpr int kMiB = 1024 * 1024;
  mallopt(M_MMAP_THRESHOLD, 64 * kMiB);
  mallopt(M_TRIM_THRESHOLD, 128 * kMiB);
}

}  // namespace vellumor::platform::sdl

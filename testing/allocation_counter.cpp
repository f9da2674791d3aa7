#include "testing/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {
constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();
std::atomic<std::size_t> allocations{0};
std::atomic<std::size_t> failing{kNever};

void* Allocate(std::size_t size) {
  const std::size_t index = allocations.fetch_add(1, std::memory_order_relaxed);
  if (index == failing.load(std::memory_order_relaxed)) {
    failing.store(kNever, std::memory_order_relaxed);
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace

namespace vellumor::alloccount {
std::size_t Count() { return allocations.load(std::memory_order_relaxed); }
void FailAfter(std::size_t n) { failing.store(Count() + n, std::memory_order_relaxed); }
void FailNone() { failing.store(kNever, std::memory_order_relaxed); }
}  // namespace vellumor::alloccount

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

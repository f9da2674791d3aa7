#pragma once
// Counts calls of the global operator new in the test program, so a test can
// assert that a stretch of code allocates nothing.

#include <cstddef>

namespace vellumor::alloccount {
std::size_t Count();
}  // namespace vellumor::alloccount

#pragma once
// Counts calls of the global operator new in the test program, so a test can
// assert that a stretch of code allocates nothing, and can make one of them
// fail, so a test can see what an allocation failure leaves behind.

#include <cstddef>

namespace vellumor::alloccount {
std::size_t Count();
// The allocation n calls from now (0: the next one) throws std::bad_alloc, once.
void FailAfter(std::size_t n);
// No allocation fails.
void FailNone();
}  // namespace vellumor::alloccount

// heap_exhausted (text/heap.h) for programs without a fatal report of their own,
// the test programs among them: a message on stderr and an abnormal end, so that
// an exhausted heap fails a test at once instead of waiting on a box.
#include <cstdio>
#include <cstdlib>

#include "text/heap.h"

void heap_exhausted(std::size_t bytes) noexcept {
    std::fprintf(stderr, "out of memory: %llu bytes\n", static_cast<unsigned long long>(bytes));
    std::abort();
}

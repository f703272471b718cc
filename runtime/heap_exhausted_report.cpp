// heap_exhausted (text/heap.h) for the program and the tests of its fatal path:
// the fatal report, with the bytes that were asked for.
#include <cstdio>

#include "runtime/fatal_report.h"
#include "text/heap.h"

void heap_exhausted(std::size_t bytes) noexcept {
    // Unsigned and full width: a request past 2 GiB, or one of size_t(-1) for
    // "more than can be counted", must not come out negative.
    char message[64];
    std::snprintf(message, sizeof message, "分配 %llu 字节内存失败!", static_cast<unsigned long long>(bytes));
    report_runtime_error(0, message);
}

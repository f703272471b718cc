// heap_exhausted (text/heap.h) for the program and the tests of its fatal path:
// the fatal report.
#include <cstdio>

#include "runtime/fatal_report.h"
#include "text/heap.h"

void heap_exhausted(std::size_t bytes) noexcept {
    char message[64];
    std::snprintf(message, sizeof message, "分配 %d 字节内存失败!", static_cast<int>(bytes));
    report_runtime_error(0, message);
}

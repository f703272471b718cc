// The fatal forms of the heap seam, shared by every platform.
#include "text/heap.h"

void* heap_alloc(std::size_t bytes) noexcept {
    void* block = heap_try_alloc(bytes);
    if (!block) heap_exhausted(bytes);
    return block;
}

void* heap_realloc(void* block, std::size_t bytes) noexcept {
    void* grown = heap_try_realloc(block, bytes);
    if (!grown) heap_exhausted(bytes);
    return grown;
}

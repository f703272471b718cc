// malloc behind the value types in native builds (sanitizer and fuzz runs).
#include <cstdlib>

#include "text/heap.h"

void* heap_try_alloc(std::size_t bytes) noexcept { return std::malloc(bytes ? bytes : 1); }

void* heap_try_realloc(void* block, std::size_t bytes) noexcept {
    return std::realloc(block, bytes ? bytes : 1);
}

void heap_free(void* block) noexcept { std::free(block); }

// The process heap behind the value types on Windows.
#include <windows.h>

#include "text/heap.h"

namespace {

// Tests of 64-bit builds compile in the largest block a 32-bit process can
// get, so that the paths of an exhausted heap run there too.
#ifdef WT_HEAP_LARGEST_BLOCK
bool beyond_the_heap(std::size_t bytes) { return bytes > WT_HEAP_LARGEST_BLOCK; }
#else
bool beyond_the_heap(std::size_t) { return false; }
#endif

}  // namespace

void* heap_try_alloc(std::size_t bytes) noexcept {
    if (beyond_the_heap(bytes)) return nullptr;
    return HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1);
}

void* heap_try_realloc(void* block, std::size_t bytes) noexcept {
    if (!block) return heap_try_alloc(bytes);
    if (beyond_the_heap(bytes)) return nullptr;
    return HeapReAlloc(GetProcessHeap(), 0, block, bytes ? bytes : 1);
}

void heap_free(void* block) noexcept {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

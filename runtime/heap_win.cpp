// The process heap behind the value types on Windows.
#include <windows.h>

#include "text/heap.h"

void* heap_try_alloc(std::size_t bytes) noexcept { return HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1); }

void* heap_try_realloc(void* block, std::size_t bytes) noexcept {
    if (!block) return heap_try_alloc(bytes);
    return HeapReAlloc(GetProcessHeap(), 0, block, bytes ? bytes : 1);
}

void heap_free(void* block) noexcept {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

// The one seam between the portable value types and the platform heap: the
// process heap on Windows, malloc elsewhere.
#pragma once

#include <cstddef>
#include <memory>

// Null when the heap is exhausted; for callers that turn that into a result.
void* heap_try_alloc(std::size_t bytes) noexcept;
void* heap_try_realloc(void* block, std::size_t bytes) noexcept;
void heap_free(void* block) noexcept;

// Never null: running out of heap while a value is made ends the process.
void* heap_alloc(std::size_t bytes) noexcept;
void* heap_realloc(void* block, std::size_t bytes) noexcept;

// Supplied by each program, never by this library: reports the failed request
// and ends the process. The program's fatal box (runtime/heap_exhausted_report.cpp),
// or a message and abort (text/heap_exhausted_abort.cpp) for test programs.
[[noreturn]] void heap_exhausted(std::size_t bytes) noexcept;

// Owns a block from the functions above, for buffers that live within one call.
struct HeapFreer {
    void operator()(void* block) const noexcept { heap_free(block); }
};
using HeapBuffer = std::unique_ptr<char, HeapFreer>;

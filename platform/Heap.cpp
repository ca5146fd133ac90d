#include "platform/Heap.h"

#include <malloc.h>

#include <cstdlib>

namespace {
// Above the largest buffers one PDF page passes through (16 MB), and at most
// what the allocator accepts as a mapping threshold.
constexpr int Mapped_From = 32 * 1024 * 1024;
constexpr int Kept_At_Top = 2 * Mapped_From;
} // namespace

void Set_Heap_Policy()
{
    mallopt(M_MMAP_THRESHOLD, Mapped_From);
    mallopt(M_TRIM_THRESHOLD, Kept_At_Top);
}

void Give_Back_Free_Heap()
{
    // Free blocks in every heap, and the free top of the main one.
    malloc_trim(0);
    // The free top of a worker thread's own heap goes back only when a block
    // beside it is freed while the heap keeps little at its top: a block
    // larger than any free one (so it is taken from the top) is taken and
    // freed so, touching nothing.
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    void* volatile probe = std::malloc(Mapped_From / 2);   // (not left out by the compiler)
    std::free(probe);
    mallopt(M_TRIM_THRESHOLD, Kept_At_Top);
}

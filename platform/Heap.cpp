#include "platform/Heap.h"

#include <malloc.h>

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
    malloc_trim(0);
}

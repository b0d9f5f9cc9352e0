#include "app/look/imagememory.h"

// The C library's own headers say which C library it is.
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

void reuseFreedImageMemory()
{
#if defined(__GLIBC__)
    // The largest threshold glibc accepts on 64-bit systems; a window image
    // of a 4K screen is just above it and is mapped on its own.
    constexpr int kHeapBlockLimit = 32 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kHeapBlockLimit);
    mallopt(M_TRIM_THRESHOLD, kHeapBlockLimit);
#endif
}

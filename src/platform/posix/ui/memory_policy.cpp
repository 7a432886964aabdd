#include "ui/memory_policy.h"

#include <malloc.h>

namespace {

// The pictures are decoded on worker threads: in arenas of their own, what a decode frees
// would stay resident beside the main heap instead of being used again by the screen.
void oneHeap()
{
    mallopt(M_ARENA_MAX, 1);
}

} // namespace

void returnLargeBuffersToSystem()
{
    oneHeap();
    // Set, the thresholds no longer rise after a large buffer is freed, as they do by default.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
}

void keepPictureBuffersInHeap()
{
    oneHeap();
    // Full-screen pictures are 8 MB; the turned pointer's buffers well under 1 MB each.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
}

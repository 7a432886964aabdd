#include "ui/memory_policy.h"

void keepPictureBuffersInHeap()
{
    // The Windows heap keeps freed blocks of this size for reuse by itself and has no
    // threshold to set.
}

#include "ui/memory_policy.h"

// The Windows heap decommits large freed blocks by itself, keeps freed blocks of a spin's
// size for reuse, and has no threshold to set.

void returnLargeBuffersToSystem() {}

void keepPictureBuffersInHeap() {}

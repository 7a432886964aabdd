#pragma once

// Keeps the picture buffers a spin allocates and frees on every tick inside the heap: by
// default the C library maps each such buffer afresh from the system and trims the heap
// behind it, and the page faults that follow make some ticks several times slower. The
// threads that decode pictures share the one heap, so what they free serves the screen.
void keepPictureBuffersInHeap();

#pragma once

// Start-up: every large buffer is mapped from the system on its own and handed back when
// freed, so that what start-up decodes, scales and lays out once leaves nothing resident
// behind it. Also keeps every thread on the one heap, so it is called before any other.
void returnLargeBuffersToSystem();

// Keeps the picture buffers a spin allocates and frees on every tick inside the heap: by
// default the C library maps each such buffer afresh from the system and trims the heap
// behind it, and the page faults that follow make some ticks several times slower. The
// threads that decode pictures share the one heap, so what they free serves the screen.
void keepPictureBuffersInHeap();

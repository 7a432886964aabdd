#pragma once

#include <QAudio>

// Whether a clip failed to start on the default output for want of a sound output rather than
// for anything the clip or the program did: no default output at all (no sound server, no
// device), or a sink that could not open the device or lost it at once. The sink's error is
// the one it reports right after starting.
bool sinkStartMeansNoOutput(bool defaultOutputFound, QAudio::Error error);

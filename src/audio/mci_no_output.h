#pragma once

#include <cstdint>

// Media control interface error codes that a clip's open or play can end in.
namespace MciError {
constexpr uint32_t Hardware = 262;
constexpr uint32_t CannotLoadDriver = 266;
constexpr uint32_t FileNotFound = 275;
constexpr uint32_t DeviceNotReady = 276;
constexpr uint32_t Internal = 277;
constexpr uint32_t ExtensionNotFound = 281;
constexpr uint32_t InvalidFile = 296;
constexpr uint32_t FilenameRequired = 304;
constexpr uint32_t DeviceNotInstalled = 306;
constexpr uint32_t WaveOutputsInUse = 320;
constexpr uint32_t WaveSetOutputInUse = 321;
constexpr uint32_t WaveOutputUnspecified = 324;
constexpr uint32_t WaveOutputsUnsuitable = 326;
constexpr uint32_t WaveSetOutputUnsuitable = 327;
constexpr uint32_t FileRead = 348;
} // namespace MciError

// Whether a media control error came from the want of a sound output rather than from the clip,
// so that the draw goes on silently instead of reporting it. outputAvailable: the system counts
// a wave output that takes plain PCM; clipReadable: the clip's file opens for reading.
// Without an output, some systems fail a good clip with a general error ("A problem occurred in
// initializing MCI") that a damaged or missing file also gives; a file that cannot be read is
// therefore always the clip's fault, and a general error with an output there is too.
bool mciErrorMeansNoOutput(uint32_t error, bool outputAvailable, bool clipReadable);

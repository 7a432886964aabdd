#pragma once

#include "audio/decoded_audio.h"
#include "audio/media_player.h"

#include <QString>
#include <optional>

// What plays MediaPlayer's clips here: Qt's audio output fed with the clip the program decoded
// itself. It lives in the late library (late/late_library.h), with Qt Multimedia and the MP3
// decoder, and MediaPlayer hands each call on to it.
class SoundEngine
{
public:
    virtual ~SoundEngine() = default;

    // As MediaPlayer's of the same names.
    virtual void open(const QString& path) = 0;
    virtual void play() = 0;
    virtual void close() = 0;
    virtual void setLooping(bool looping) = 0;
    virtual bool looping() const = 0;
    virtual MediaPlayer::Playback playback() const = 0;
    virtual bool startedOnDevice() const = 0;
    virtual bool outputMissing() const = 0;
    virtual void probeOutput() = 0;
    // The open clip as decoded; empty when none is open.
    virtual const DecodedAudio& clip() const = 0;
};

// The engine of player, which it signals through; soundOutput is the tests' pretence
// (MediaPlayer::setSoundOutputForTesting), read at each start. The caller owns the engine.
extern "C" SoundEngine* pwMakeSoundEngine(MediaPlayer* player,
                                          const std::optional<bool>* soundOutput);
using MakeSoundEngine = decltype(pwMakeSoundEngine);

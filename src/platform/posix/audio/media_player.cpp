#include "audio/media_player.h"

#include "audio/media_device_error.h"
#include "audio/sound_engine.h"
#include "late/late_library.h"

namespace {

std::optional<bool> soundOutputForTesting;

} // namespace

// The engine is made at the first Open, so that nothing of the sound libraries is loaded
// before the first clip.
struct MediaPlayer::Private
{
    QString fileName;
    std::unique_ptr<SoundEngine> engine;
    bool looping = false; // until the engine is made

    SoundEngine& openEngine(MediaPlayer* player)
    {
        if (!engine) {
            QString error;
            auto* make = lateFunctionOf<MakeSoundEngine>("pwMakeSoundEngine", &error);
            if (!make)
                throw MediaDeviceError(error);
            engine.reset(make(player, &soundOutputForTesting));
        }
        return *engine;
    }
};

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent), d_(std::make_unique<Private>()) {}

MediaPlayer::~MediaPlayer()
{
    close();
}

void MediaPlayer::setSoundOutputForTesting(std::optional<bool> present)
{
    soundOutputForTesting = present;
}

void MediaPlayer::setFileName(const QString& path)
{
    d_->fileName = path;
}

const QString& MediaPlayer::fileName() const
{
    return d_->fileName;
}

void MediaPlayer::Open()
{
    d_->openEngine(this).open(d_->fileName);
}

void MediaPlayer::Play()
{
    if (!isOpen())
        throw MediaDeviceError(NoDeviceOpenText);
    d_->engine->play();
}

void MediaPlayer::close()
{
    if (d_->engine)
        d_->engine->close();
}

void MediaPlayer::setLooping(bool looping)
{
    if (d_->engine)
        d_->engine->setLooping(looping);
    else
        d_->looping = looping;
}

bool MediaPlayer::looping() const
{
    return d_->engine ? d_->engine->looping() : d_->looping;
}

bool MediaPlayer::isOpen() const
{
    return playback() != Playback::Closed;
}

MediaPlayer::Playback MediaPlayer::playback() const
{
    return d_->engine ? d_->engine->playback() : Playback::Closed;
}

bool MediaPlayer::startedOnDevice() const
{
    return d_->engine && d_->engine->startedOnDevice();
}

bool MediaPlayer::outputMissing() const
{
    return d_->engine && d_->engine->outputMissing();
}

void MediaPlayer::probeOutput()
{
    d_->openEngine(this).probeOutput();
}

qint64 MediaPlayer::durationMs() const
{
    return d_->engine ? d_->engine->clip().durationMs() : 0;
}

int MediaPlayer::sampleRate() const
{
    return d_->engine ? d_->engine->clip().sampleRate : 0;
}

int MediaPlayer::channelCount() const
{
    return d_->engine ? d_->engine->clip().channels : 0;
}

qint64 MediaPlayer::frameCount() const
{
    return d_->engine ? d_->engine->clip().frameCount() : 0;
}

#include "audio/media_player.h"

#include "audio/decoded_audio.h"
#include "audio/media_device_error.h"
#include "audio/mp3_decoder.h"
#include "audio/sink_failure.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QHash>
#include <QMediaDevices>

namespace {

std::optional<bool> soundOutputForTesting;

} // namespace

// Qt's audio output fed with the clip the program decoded itself. Open decodes the whole clip up
// front, so a bad file is reported by Open and Play never waits.
struct MediaPlayer::Private
{
    QString fileName;
    DecodedAudio clip;
    // The last clip decoded for each file, with the bytes it came from: a stop of the spin
    // opens the fanfare inside a 10 ms tick, and decoding takes longer than that.
    struct Decoded
    {
        QByteArray bytes;
        DecodedAudio audio;
    };
    QHash<QString, Decoded> decoded;
    QBuffer source;
    std::unique_ptr<QAudioSink> sink;
    Playback playback = Playback::Closed;
    bool startedOnDevice = false;
    bool outputMissing = false;
    bool looping = false;

    explicit Private(MediaPlayer* player) : q(player) {}
    void startOnDevice();
    void releaseSink();
    void sinkStateChanged(QAudio::State state);

    MediaPlayer* q;
};

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent), d_(std::make_unique<Private>(this)) {}

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
    close();
    d_->looping = false;
    d_->outputMissing = false;
    // The file is read afresh every time; only unchanged bytes reuse their decoded sound.
    const QByteArray bytes = readMp3File(d_->fileName);
    auto cached = d_->decoded.find(d_->fileName);
    if (cached == d_->decoded.end() || cached->bytes != bytes)
        cached = d_->decoded.insert(d_->fileName, Private::Decoded{bytes, decodeMp3(bytes)});
    d_->clip = cached->audio;
    d_->source.setBuffer(&d_->clip.pcm);
    d_->source.open(QIODevice::ReadOnly);
    d_->playback = Playback::Ready;
}

void MediaPlayer::Play()
{
    if (!isOpen())
        throw MediaDeviceError(NoDeviceOpenText);
    if (d_->playback == Playback::Playing)
        return;
    if (d_->playback == Playback::Finished)
        d_->source.seek(0);
    d_->startOnDevice();
}

void MediaPlayer::close()
{
    d_->releaseSink();
    d_->source.close();
    d_->source.setBuffer(nullptr);
    d_->clip = DecodedAudio();
    d_->playback = Playback::Closed;
    d_->startedOnDevice = false;
}

void MediaPlayer::setLooping(bool looping)
{
    d_->looping = looping;
}

bool MediaPlayer::looping() const
{
    return d_->looping;
}

bool MediaPlayer::isOpen() const
{
    return d_->playback != Playback::Closed;
}

MediaPlayer::Playback MediaPlayer::playback() const
{
    return d_->playback;
}

bool MediaPlayer::startedOnDevice() const
{
    return d_->startedOnDevice;
}

bool MediaPlayer::outputMissing() const
{
    return d_->outputMissing;
}

qint64 MediaPlayer::durationMs() const
{
    return d_->clip.durationMs();
}

int MediaPlayer::sampleRate() const
{
    return d_->clip.sampleRate;
}

int MediaPlayer::channelCount() const
{
    return d_->clip.channels;
}

qint64 MediaPlayer::frameCount() const
{
    return d_->clip.frameCount();
}

void MediaPlayer::Private::startOnDevice()
{
    releaseSink();
    playback = Playback::Silent;
    // Missing for the tests: the device is not even asked.
    if (soundOutputForTesting == false) {
        outputMissing = true;
        return;
    }
    const auto noOutput = [this](bool found, QAudio::Error error) {
        outputMissing = !soundOutputForTesting.has_value() && sinkStartMeansNoOutput(found, error);
    };

    // Asked at every start: an output that has gone or come back since the last clip counts.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        noOutput(false, QAudio::NoError);
        return;
    }
    QAudioFormat format;
    format.setSampleRate(clip.sampleRate);
    format.setChannelCount(clip.channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return;

    sink = std::make_unique<QAudioSink>(device, format);
    QObject::connect(sink.get(), &QAudioSink::stateChanged, q,
                     [this](QAudio::State state) { sinkStateChanged(state); });
    // Pull mode: the sink reads the decoded clip from the buffer on its own timer, so this
    // returns as soon as the device has accepted the stream.
    sink->start(&source);
    if (sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState) {
        noOutput(true, sink->error());
        releaseSink();
        return;
    }
    playback = Playback::Playing;
    startedOnDevice = true;
}

void MediaPlayer::Private::releaseSink()
{
    if (!sink)
        return;
    sink->disconnect(q);
    // Dropping what the device still holds makes a replaced clip stop at once.
    sink->reset();
    sink->stop();
    sink.reset();
}

void MediaPlayer::Private::sinkStateChanged(QAudio::State state)
{
    if (playback != Playback::Playing || !sink)
        return;
    // The sink stays alive until the next Play or close: stopping it here could cut off
    // the tail still queued in the device, and it must not be deleted inside its own signal.
    if (state == QAudio::IdleState && source.atEnd() && looping) {
        // Started afresh outside the sink's own signal, which must not delete it.
        QMetaObject::invokeMethod(
            q,
            [this] {
                if (looping && playback == Playback::Playing && source.atEnd()) {
                    source.seek(0);
                    startOnDevice();
                }
            },
            Qt::QueuedConnection);
    } else if (state == QAudio::IdleState && source.atEnd()) {
        playback = Playback::Finished;
    } else if (state == QAudio::StoppedState && sink->error() != QAudio::NoError)
        playback = Playback::Silent;
}

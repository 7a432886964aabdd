#include "audio/media_player.h"

#include "audio/media_device_error.h"
#include "audio/mp3_decoder.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent) {}

MediaPlayer::~MediaPlayer()
{
    close();
}

void MediaPlayer::Open()
{
    close();
    looping_ = false;
    // The file is read afresh every time; only unchanged bytes reuse their decoded sound.
    const QByteArray bytes = readMp3File(fileName_);
    auto cached = decoded_.find(fileName_);
    if (cached == decoded_.end() || cached->bytes != bytes)
        cached = decoded_.insert(fileName_, Decoded{bytes, decodeMp3(bytes)});
    clip_ = cached->audio;
    source_.setBuffer(&clip_.pcm);
    source_.open(QIODevice::ReadOnly);
    playback_ = Playback::Ready;
}

void MediaPlayer::Play()
{
    if (!isOpen())
        throw MediaDeviceError(QStringLiteral("No MCI device open"));
    if (playback_ == Playback::Playing)
        return;
    if (playback_ == Playback::Finished)
        source_.seek(0);
    startOnDevice();
}

void MediaPlayer::close()
{
    releaseSink();
    source_.close();
    source_.setBuffer(nullptr);
    clip_ = DecodedAudio();
    playback_ = Playback::Closed;
    startedOnDevice_ = false;
}

void MediaPlayer::startOnDevice()
{
    releaseSink();
    playback_ = Playback::Silent;

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format;
    format.setSampleRate(clip_.sampleRate);
    format.setChannelCount(clip_.channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return;

    sink_ = std::make_unique<QAudioSink>(device, format);
    connect(sink_.get(), &QAudioSink::stateChanged, this, &MediaPlayer::sinkStateChanged);
    // Pull mode: the sink reads the decoded clip from the buffer on its own timer, so this
    // returns as soon as the device has accepted the stream.
    sink_->start(&source_);
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
        releaseSink();
        return;
    }
    playback_ = Playback::Playing;
    startedOnDevice_ = true;
}

void MediaPlayer::releaseSink()
{
    if (!sink_)
        return;
    sink_->disconnect(this);
    // Dropping what the device still holds makes a replaced clip stop at once.
    sink_->reset();
    sink_->stop();
    sink_.reset();
}

void MediaPlayer::sinkStateChanged(QAudio::State state)
{
    if (playback_ != Playback::Playing || !sink_)
        return;
    // The sink stays alive until the next Play or close: stopping it here could cut off
    // the tail still queued in the device, and it must not be deleted inside its own signal.
    if (state == QAudio::IdleState && source_.atEnd() && looping_) {
        // Started afresh outside the sink's own signal, which must not delete it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (looping_ && playback_ == Playback::Playing && source_.atEnd()) {
                    source_.seek(0);
                    startOnDevice();
                }
            },
            Qt::QueuedConnection);
    } else if (state == QAudio::IdleState && source_.atEnd()) {
        playback_ = Playback::Finished;
    } else if (state == QAudio::StoppedState && sink_->error() != QAudio::NoError)
        playback_ = Playback::Silent;
}

#include "audio/sound_engine.h"

#include "audio/media_device_error.h"
#include "audio/mp3_decoder.h"
#include "audio/sink_failure.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QHash>
#include <QMediaDevices>
#include <memory>

namespace {

using Playback = MediaPlayer::Playback;

// Open decodes the whole clip up front, so a bad file is reported by Open and Play never waits.
class QtSoundEngine final : public SoundEngine
{
public:
    QtSoundEngine(MediaPlayer* player, const std::optional<bool>* soundOutput)
        : q_(player), soundOutputForTesting_(soundOutput)
    {
    }
    ~QtSoundEngine() override { close(); }
    QtSoundEngine(const QtSoundEngine&) = delete;
    QtSoundEngine& operator=(const QtSoundEngine&) = delete;

    void open(const QString& path) override
    {
        close();
        looping_ = false;
        outputMissing_ = false;
        // The file is read afresh every time; only unchanged bytes reuse their decoded sound.
        const QByteArray bytes = readMp3File(path);
        auto cached = decoded_.find(path);
        if (cached == decoded_.end() || cached->bytes != bytes)
            cached = decoded_.insert(path, Decoded{bytes, decodeMp3(bytes)});
        clip_ = cached->audio;
        source_.setBuffer(&clip_.pcm);
        source_.open(QIODevice::ReadOnly);
        playback_ = Playback::Ready;
    }

    void play() override
    {
        if (playback_ == Playback::Playing)
            return;
        if (playback_ == Playback::Finished)
            source_.seek(0);
        startOnDevice();
    }

    void close() override
    {
        releaseSink();
        source_.close();
        source_.setBuffer(nullptr);
        clip_ = DecodedAudio();
        playback_ = Playback::Closed;
        startedOnDevice_ = false;
    }

    void setLooping(bool looping) override { looping_ = looping; }
    bool looping() const override { return looping_; }
    Playback playback() const override { return playback_; }
    bool startedOnDevice() const override { return startedOnDevice_; }
    bool outputMissing() const override { return outputMissing_; }
    void probeOutput() override
    {
        // As a start would find it, short of opening a stream: no default output, no sound.
        const std::optional<bool> pretended = *soundOutputForTesting_;
        if (pretended)
            outputMissing_ = !*pretended;
        else
            outputMissing_ = sinkStartMeansNoOutput(!QMediaDevices::defaultAudioOutput().isNull(),
                                                    QAudio::NoError);
    }
    const DecodedAudio& clip() const override { return clip_; }

private:
    void startOnDevice();
    void releaseSink();
    void sinkStateChanged(QAudio::State state);

    MediaPlayer* q_;
    const std::optional<bool>* soundOutputForTesting_;
    DecodedAudio clip_;
    // The last clip decoded for each file, with the bytes it came from: a stop of the spin
    // opens the fanfare inside a 10 ms tick, and decoding takes longer than that.
    struct Decoded
    {
        QByteArray bytes;
        DecodedAudio audio;
    };
    QHash<QString, Decoded> decoded_;
    QBuffer source_;
    std::unique_ptr<QAudioSink> sink_;
    Playback playback_ = Playback::Closed;
    bool startedOnDevice_ = false;
    bool outputMissing_ = false;
    bool looping_ = false;
};

void QtSoundEngine::startOnDevice()
{
    releaseSink();
    playback_ = Playback::Silent;
    const std::optional<bool> pretended = *soundOutputForTesting_;
    // Missing for the tests: the device is not even asked.
    if (pretended == false) {
        outputMissing_ = true;
        return;
    }
    const auto noOutput = [this, pretended](bool found, QAudio::Error error) {
        outputMissing_ = !pretended.has_value() && sinkStartMeansNoOutput(found, error);
    };

    // Asked at every start: an output that has gone or come back since the last clip counts.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        noOutput(false, QAudio::NoError);
        return;
    }
    QAudioFormat format;
    format.setSampleRate(clip_.sampleRate);
    format.setChannelCount(clip_.channels);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return;

    sink_ = std::make_unique<QAudioSink>(device, format);
    QObject::connect(sink_.get(), &QAudioSink::stateChanged, q_,
                     [this](QAudio::State state) { sinkStateChanged(state); });
    // Pull mode: the sink reads the decoded clip from the buffer on its own timer, so this
    // returns as soon as the device has accepted the stream.
    sink_->start(&source_);
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
        noOutput(true, sink_->error());
        releaseSink();
        return;
    }
    playback_ = Playback::Playing;
    startedOnDevice_ = true;
}

void QtSoundEngine::releaseSink()
{
    if (!sink_)
        return;
    sink_->disconnect(q_);
    // Dropping what the device still holds makes a replaced clip stop at once.
    sink_->reset();
    sink_->stop();
    sink_.reset();
}

void QtSoundEngine::sinkStateChanged(QAudio::State state)
{
    if (playback_ != Playback::Playing || !sink_)
        return;
    // The sink stays alive until the next Play or close: stopping it here could cut off
    // the tail still queued in the device, and it must not be deleted inside its own signal.
    if (state == QAudio::IdleState && source_.atEnd() && looping_) {
        // Started afresh outside the sink's own signal, which must not delete it.
        QMetaObject::invokeMethod(
            q_,
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

} // namespace

extern "C" Q_DECL_EXPORT SoundEngine* pwMakeSoundEngine(MediaPlayer* player,
                                                        const std::optional<bool>* soundOutput)
{
    return new QtSoundEngine(player, soundOutput);
}

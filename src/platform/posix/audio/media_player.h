#pragma once

#include "audio/decoded_audio.h"

#include <QAudio>
#include <QBuffer>
#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

class QAudioSink;

// Plays one MP3 clip at a time on the default audio output. Open decodes the whole clip up
// front, so a bad file is reported by Open and Play never waits. Without an audio output the
// clip stays silent and nothing is reported, as with any other failure to start playback.
class MediaPlayer : public QObject
{
    Q_OBJECT

public:
    enum class Playback
    {
        Closed,   // no clip open
        Ready,    // open, not yet played
        Playing,  // started on an output device
        Silent,   // Play ran but no device took the clip
        Finished, // the device has played the clip to its end
    };

    explicit MediaPlayer(QObject* parent = nullptr);
    ~MediaPlayer() override;

    // Full path of the clip; takes effect at the next Open.
    void setFileName(const QString& path) { fileName_ = path; }
    const QString& fileName() const { return fileName_; }

    // Closes the open clip (stopping it at once), then decodes fileName(). Throws
    // MediaDeviceError when the file cannot be read or decoded; no clip is open then.
    void Open();
    // Starts the open clip and returns at once; a clip played to its end starts over.
    // Throws MediaDeviceError "No MCI device open" when no clip is open.
    void Play();
    // Stops playback at once and forgets the clip.
    void close();
    // A looping clip starts over each time it has played to its end, until it is closed or
    // another clip is opened. Opening resets it to playing once.
    void setLooping(bool looping) { looping_ = looping; }
    bool looping() const { return looping_; }

    bool isOpen() const { return playback_ != Playback::Closed; }
    Playback playback() const { return playback_; }
    // True once the current clip has been handed to an output device by Play.
    bool startedOnDevice() const { return startedOnDevice_; }
    int sampleRate() const { return clip_.sampleRate; }
    int channelCount() const { return clip_.channels; }
    qint64 frameCount() const { return clip_.frameCount(); }
    qint64 durationMs() const { return clip_.durationMs(); }

private:
    void startOnDevice();
    void releaseSink();
    void sinkStateChanged(QAudio::State state);

    QString fileName_;
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
    bool looping_ = false;
};

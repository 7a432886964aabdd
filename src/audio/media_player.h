#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// Plays one MP3 clip at a time on the system's sound output: Open closes the open clip (which
// stops it) and opens the file; Play starts it and returns at once. Each platform has its own
// .cpp: the media control interface of the Windows multimedia library, Qt's audio output
// elsewhere.
//
// A system without a usable sound output is not an error: the clip stays silent and
// outputMissing() says so, while a clip file that cannot be opened throws from Open. Every
// Open and Play asks the system afresh, so an output that comes back is used again.
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
    void setFileName(const QString& path);
    const QString& fileName() const;

    // Closes the open clip, then opens fileName(). Throws MediaDeviceError with the system's
    // or the decoder's text for the cause when the clip cannot be opened; the previous clip is
    // closed by then and none is open. Without a sound output a readable clip opens silent.
    void Open();
    // Starts the open clip without waiting for it; a clip played to its end starts over.
    // Throws MediaDeviceError "No MCI device open" when no clip is open. A failure to start is
    // not reported; one for want of a sound output shows in outputMissing().
    void Play();
    // Stops the clip at once and closes it. A failure is only recorded.
    void close();
    // A looping clip starts over each time it has played to its end, until it is closed or
    // another clip is opened. Opening resets it to playing once.
    void setLooping(bool looping);
    bool looping() const;

    bool isOpen() const;
    Playback playback() const;
    // True once the current clip has been handed to an output device by Play.
    bool startedOnDevice() const;
    // The last Open, Play or probeOutput found no usable sound output, so the clip stays silent.
    bool outputMissing() const;
    // Asks the system afresh whether a usable sound output is there, without opening or playing
    // a clip, and says so in outputMissing(). Loads the sound library where the first Open
    // would. Throws MediaDeviceError when that library cannot be loaded.
    void probeOutput();

    // The open clip's length; 0 when none is open.
    qint64 durationMs() const;
    // The open clip as the program decoded it; 0 where the system decodes clips itself.
    int sampleRate() const;
    int channelCount() const;
    qint64 frameCount() const;

    // Tests pretend that the system has a sound output (true: never concluded missing; a real
    // one is still used when there is one) or none (false); nullopt asks the system.
    static void setSoundOutputForTesting(std::optional<bool> present);

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

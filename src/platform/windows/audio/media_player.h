#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Plays one MP3 clip at a time through the media control interface of the Windows multimedia
// library: Open closes the open clip (which stops it) and opens the file on whatever device
// the system associates with it; Play starts it and returns at once.
class MediaPlayer : public QObject
{
public:
    explicit MediaPlayer(QObject* parent = nullptr);
    ~MediaPlayer() override;

    // Full path of the clip; takes effect at the next Open.
    void setFileName(const QString& path) { fileName_ = path; }
    const QString& fileName() const { return fileName_; }

    // Closes the open clip, then opens fileName(). Throws MediaDeviceError with the system's
    // text for the cause when it cannot be opened; the previous clip is closed by then.
    void Open();
    // Starts the open clip without waiting for it; a clip that stands at its end starts over.
    // Throws MediaDeviceError "No MCI device open" when no clip is open. A failure to start is
    // only recorded in lastError().
    void Play();
    // Stops the clip and closes its device. A failure is only recorded.
    void close();
    // A looping clip starts over each time it has played to its end, until it is closed or
    // another clip is opened. Opening resets it to playing once.
    void setLooping(bool looping);
    bool looping() const { return looping_; }

    bool isOpen() const { return deviceId_ != 0; }
    // The result of the last command that records one; 0 for success.
    unsigned long lastError() const { return lastError_; }
    // True while the device reports that it plays.
    bool isPlaying() const;
    // The clip's length in milliseconds, 0 when none is open.
    unsigned long lengthMs() const;

private:
    unsigned long status(unsigned long item) const;
    void startAgainAtEnd();

    QString fileName_;
    unsigned deviceId_ = 0;
    unsigned long lastError_ = 0;
    bool looping_ = false;
    // The device tells no end without a window to notify, so a looping clip is watched.
    QTimer loopWatch_;
};

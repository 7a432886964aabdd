#pragma once

#include <QByteArray>
#include <QtGlobal>

// A whole clip as interleaved signed 16-bit samples in native byte order.
struct DecodedAudio
{
    QByteArray pcm;
    int sampleRate = 0;
    int channels = 0;
    // The length in frames the stream itself announces (header tag or full scan), -1 if it
    // announces none. Kept apart from pcm so a short decode can be told from a short file.
    qint64 announcedFrames = -1;

    qint64 frameCount() const
    {
        return channels > 0 ? pcm.size() / (qint64(sizeof(qint16)) * channels) : 0;
    }
    qint64 durationMs() const { return sampleRate > 0 ? frameCount() * 1000 / sampleRate : 0; }
};

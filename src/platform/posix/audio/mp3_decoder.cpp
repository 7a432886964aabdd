#include "audio/mp3_decoder.h"

#include "audio/media_device_error.h"

#include <QFile>

#include <cstring>
#include <memory>
#include <mpg123.h>
#include <mutex>

namespace {

// The clip is read into memory first so that file names are handled by Qt (UTF-8 on disk)
// and the decoder can seek freely to measure the stream.
struct MemoryStream
{
    const char* data = nullptr;
    qint64 size = 0;
    qint64 pos = 0;
};

mpg123_ssize_t readMemory(void* handle, void* buffer, size_t count)
{
    auto* s = static_cast<MemoryStream*>(handle);
    const qint64 n = qMin<qint64>(qint64(count), s->size - s->pos);
    if (n <= 0)
        return 0;
    std::memcpy(buffer, s->data + s->pos, size_t(n));
    s->pos += n;
    return mpg123_ssize_t(n);
}

off_t seekMemory(void* handle, off_t offset, int whence)
{
    auto* s = static_cast<MemoryStream*>(handle);
    qint64 base = 0;
    switch (whence) {
    case SEEK_SET:
        base = 0;
        break;
    case SEEK_CUR:
        base = s->pos;
        break;
    case SEEK_END:
        base = s->size;
        break;
    default:
        return -1;
    }
    const qint64 target = base + qint64(offset);
    if (target < 0 || target > s->size)
        return -1;
    s->pos = target;
    return off_t(target);
}

struct HandleCloser
{
    void operator()(mpg123_handle* h) const
    {
        mpg123_close(h);
        mpg123_delete(h);
    }
};
using Handle = std::unique_ptr<mpg123_handle, HandleCloser>;

// The library's texts read "Sentence. (code N)"; the operator gets the sentence alone.
QString libraryText(const char* text)
{
    QString s = QString::fromLocal8Bit(text).trimmed();
    const qsizetype code = s.lastIndexOf(QLatin1String(" (code "));
    if (code > 0 && s.endsWith(QLatin1Char(')')))
        s.truncate(code);
    return s;
}

// A file error names its cause after a colon, so the sentence loses its full stop.
[[noreturn]] void failToRead(const QFile& file)
{
    QString text = libraryText(mpg123_plain_strerror(MPG123_BAD_FILE));
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    throw MediaDeviceError(text + QStringLiteral(": ") + file.errorString());
}

[[noreturn]] void failWith(mpg123_handle* h)
{
    throw MediaDeviceError(libraryText(mpg123_strerror(h)));
}

void check(mpg123_handle* h, int result)
{
    if (result != MPG123_OK)
        failWith(h);
}

Handle newHandle()
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { mpg123_init(); });

    int error = MPG123_OK;
    Handle h(mpg123_new(nullptr, &error));
    if (!h)
        throw MediaDeviceError(libraryText(mpg123_plain_strerror(error)));
    // The library would otherwise print its complaints about junk data on stderr.
    check(h.get(), mpg123_param(h.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0));
    // One output encoding for every rate keeps the player's audio format simple.
    check(h.get(), mpg123_format_none(h.get()));
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        check(h.get(),
              mpg123_format(h.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16));
    return h;
}

} // namespace

DecodedAudio decodeMp3(const QByteArray& bytes)
{
    Handle h = newHandle();
    MemoryStream stream{bytes.constData(), bytes.size(), 0};
    check(h.get(), mpg123_replace_reader_handle(h.get(), readMemory, seekMemory, nullptr));
    check(h.get(), mpg123_open_handle(h.get(), &stream));

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(h.get(), &rate, &channels, &encoding) != MPG123_OK)
        failWith(h.get());

    DecodedAudio audio;
    audio.sampleRate = int(rate);
    audio.channels = channels;
    // A full scan counts the frames even when the stream carries no length tag.
    if (mpg123_scan(h.get()) == MPG123_OK) {
        const off_t length = mpg123_length(h.get());
        audio.announcedFrames = length >= 0 ? qint64(length) : -1;
    }
    if (audio.announcedFrames > 0)
        audio.pcm.reserve(qsizetype(audio.announcedFrames * channels * qint64(sizeof(qint16))));

    unsigned char chunk[32768];
    for (;;) {
        size_t done = 0;
        const int result = mpg123_read(h.get(), chunk, sizeof chunk, &done);
        audio.pcm.append(reinterpret_cast<const char*>(chunk), qsizetype(done));
        if (result == MPG123_DONE)
            break;
        if (result == MPG123_NEW_FORMAT) {
            long newRate = 0;
            int newChannels = 0;
            mpg123_getformat(h.get(), &newRate, &newChannels, &encoding);
            // A stream glued together from differing parts ends where its format changes.
            if (newRate != rate || newChannels != channels)
                break;
            continue;
        }
        if (result != MPG123_OK)
            failWith(h.get());
    }
    if (audio.frameCount() == 0)
        throw MediaDeviceError(NoAudioFramesText);
    return audio;
}

QByteArray readMp3File(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failToRead(file);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        failToRead(file);
    return bytes;
}

DecodedAudio decodeMp3File(const QString& path)
{
    return decodeMp3(readMp3File(path));
}

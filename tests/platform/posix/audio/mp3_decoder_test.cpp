#include "audio/mp3_decoder.h"

#include "audio/media_device_error.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

QString shippedClip(const char* name)
{
    return QStringLiteral(PW_ASSETS_DIR "/sound/") + QString::fromUtf8(name);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

int peakSample(const DecodedAudio& audio)
{
    int peak = 0;
    const qsizetype count = audio.pcm.size() / qsizetype(sizeof(qint16));
    for (qsizetype i = 0; i < count; ++i) {
        qint16 s;
        std::memcpy(&s, audio.pcm.constData() + i * qsizetype(sizeof(qint16)), sizeof s);
        peak = std::max(peak, std::abs(int(s)));
    }
    return peak;
}

QString decodeError(const QByteArray& bytes)
{
    try {
        decodeMp3(bytes);
    } catch (const MediaDeviceError& e) {
        return e.message();
    }
    return QString();
}

struct ShippedClip
{
    const char* name;
    qint64 designedMs; // the length make_sounds.sh gives the clip
};

class ShippedClipDecoding : public ::testing::TestWithParam<ShippedClip>
{
};

} // namespace

TEST_P(ShippedClipDecoding, DecodesToTheWholeAnnouncedLength)
{
    const DecodedAudio audio = decodeMp3File(shippedClip(GetParam().name));
    EXPECT_EQ(audio.sampleRate, 44100);
    EXPECT_TRUE(audio.channels == 1 || audio.channels == 2) << audio.channels;
    ASSERT_GT(audio.announcedFrames, 0);
    // Every frame the stream announces comes out, and no more.
    EXPECT_EQ(audio.frameCount(), audio.announcedFrames);
    EXPECT_NEAR(double(audio.durationMs()), double(GetParam().designedMs), 100.0);
    // Real samples, not a buffer of silence, and not clipped.
    const int peak = peakSample(audio);
    EXPECT_GT(peak, 32767 / 4);
    EXPECT_LT(peak, 32767);
}

TEST_P(ShippedClipDecoding, TruncatedFileStillDecodesWhatIsThere)
{
    const QByteArray whole = readAll(shippedClip(GetParam().name));
    const DecodedAudio full = decodeMp3(whole);
    const DecodedAudio half = decodeMp3(whole.left(whole.size() / 2));
    EXPECT_GT(half.frameCount(), full.frameCount() * 35 / 100);
    EXPECT_LT(half.frameCount(), full.frameCount() * 65 / 100);
}

INSTANTIATE_TEST_SUITE_P(Clips, ShippedClipDecoding,
                         ::testing::Values(ShippedClip{"摇奖中.mp3", 2000},
                                           ShippedClip{"中奖后.mp3", 2100}),
                         [](const auto& info) { return info.index == 0 ? "Spin" : "Win"; });

TEST(Mp3Decoder, MissingFileCarriesTheSystemsCause)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("摇奖中.mp3"));
    QFile probe(path);
    ASSERT_FALSE(probe.open(QIODevice::ReadOnly));
    try {
        decodeMp3File(path);
        FAIL() << "a missing file decoded";
    } catch (const MediaDeviceError& e) {
        EXPECT_TRUE(e.message().contains(probe.errorString())) << e.message().toStdString();
    }
}

TEST(Mp3Decoder, DataWithoutMpegAudioFailsWithText)
{
    const QByteArray text = QByteArray("This is a text file, not a sound clip.\r\n").repeated(200);
    const QByteArray zeros(64 * 1024, '\0');
    for (const QByteArray& bytes : {QByteArray(), text, zeros}) {
        const QString message = decodeError(bytes);
        EXPECT_FALSE(message.trimmed().isEmpty()) << "decoded " << bytes.size() << " bytes";
    }
}

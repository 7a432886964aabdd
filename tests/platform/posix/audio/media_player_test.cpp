#include "audio/media_player.h"

#include "audio/media_device_error.h"
#include "audio/mp3_decoder.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString spinClip = QStringLiteral(PW_ASSETS_DIR "/sound/摇奖中.mp3");
const QString winClip = QStringLiteral(PW_ASSETS_DIR "/sound/中奖后.mp3");

bool haveOutputDevice()
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

QString playError(MediaPlayer& player)
{
    try {
        player.Play();
    } catch (const MediaDeviceError& e) {
        return e.message();
    }
    return QString();
}

QString openError(MediaPlayer& player)
{
    try {
        player.Open();
    } catch (const MediaDeviceError& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(MediaPlayer, PlayWithoutAnOpenClipIsAnError)
{
    MediaPlayer player;
    EXPECT_FALSE(player.isOpen());
    EXPECT_EQ(playError(player), QStringLiteral("No MCI device open"));

    player.setFileName(spinClip);
    EXPECT_EQ(playError(player), QStringLiteral("No MCI device open"))
        << "naming a clip must not open it";

    player.Open();
    player.close();
    EXPECT_EQ(playError(player), QStringLiteral("No MCI device open"));
}

TEST(MediaPlayer, FailedOpenLeavesNoClipOpen)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("sound/摇奖中.mp3"));
    const QString garbage = dir.filePath(QStringLiteral("中奖后.mp3"));
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("not a sound clip\r\n").repeated(100));
    f.close();

    for (const QString& bad : {missing, garbage}) {
        MediaPlayer player;
        player.setFileName(spinClip);
        player.Open();
        player.Play();

        player.setFileName(bad);
        const QString message = openError(player);
        EXPECT_FALSE(message.trimmed().isEmpty()) << bad.toStdString();
        // The previous clip was closed before the new one failed.
        EXPECT_FALSE(player.isOpen());
        EXPECT_EQ(player.playback(), MediaPlayer::Playback::Closed);
        EXPECT_FALSE(player.startedOnDevice());
        EXPECT_EQ(player.frameCount(), 0);
        EXPECT_EQ(playError(player), QStringLiteral("No MCI device open"));
        EXPECT_EQ(player.fileName(), bad);
    }
}

TEST(MediaPlayer, OpeningAnotherClipReplacesThePlayingOne)
{
    const qint64 spinFrames = decodeMp3File(spinClip).frameCount();
    const qint64 winFrames = decodeMp3File(winClip).frameCount();
    ASSERT_NE(spinFrames, winFrames);

    MediaPlayer player;
    player.setFileName(spinClip);
    player.Open();
    player.Play();
    player.setFileName(winClip);
    EXPECT_EQ(player.frameCount(), spinFrames) << "the new name takes effect only at Open";

    player.Open();
    EXPECT_EQ(player.frameCount(), winFrames);
    EXPECT_EQ(player.playback(), MediaPlayer::Playback::Ready) << "the spin clip still plays";
    EXPECT_FALSE(player.startedOnDevice());

    // The same clip again starts from scratch too.
    player.Play();
    player.Open();
    EXPECT_EQ(player.playback(), MediaPlayer::Playback::Ready);
}

TEST(MediaPlayer, PlayReturnsWhileTheClipIsUnderway)
{
    MediaPlayer player;
    player.setFileName(spinClip);
    player.Open();
    player.Play();
    const MediaPlayer::Playback state = player.playback();
    EXPECT_TRUE(state == MediaPlayer::Playback::Playing || state == MediaPlayer::Playback::Silent)
        << int(state);
    // Lacking an output device is not an error: the clip just stays silent.
    if (!haveOutputDevice()) {
        EXPECT_EQ(state, MediaPlayer::Playback::Silent);
    }
    EXPECT_EQ(player.startedOnDevice(), state == MediaPlayer::Playback::Playing);
    QCoreApplication::processEvents();
    EXPECT_TRUE(player.isOpen());
    EXPECT_NO_THROW(player.Play()) << "playing again while underway is harmless";
}

TEST(MediaPlayer, ClipPlayedToItsEndStartsOverOnPlay)
{
    if (!haveOutputDevice())
        GTEST_SKIP() << "no audio output to play on";
    MediaPlayer player;
    player.setFileName(winClip);
    player.Open();
    player.Play();
    ASSERT_EQ(player.playback(), MediaPlayer::Playback::Playing);
    QDeadlineTimer deadline(20000);
    while (player.playback() == MediaPlayer::Playback::Playing && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(player.playback(), MediaPlayer::Playback::Finished);
    player.Play();
    EXPECT_EQ(player.playback(), MediaPlayer::Playback::Playing);
}

TEST(MediaPlayer, ClipPathWithChineseCharactersOpens)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("程序/sound")));
    const QString path = dir.filePath(QStringLiteral("程序/sound/摇奖中.mp3"));
    ASSERT_TRUE(QFile::copy(spinClip, path));

    MediaPlayer player;
    player.setFileName(path);
    player.Open();
    const DecodedAudio expected = decodeMp3File(spinClip);
    EXPECT_EQ(player.playback(), MediaPlayer::Playback::Ready);
    EXPECT_EQ(player.fileName(), path);
    EXPECT_EQ(player.frameCount(), expected.frameCount());
    EXPECT_EQ(player.sampleRate(), expected.sampleRate);
    EXPECT_EQ(player.channelCount(), expected.channels);
    EXPECT_EQ(player.durationMs(), expected.durationMs());
}

TEST(MediaPlayer, ReopeningReadsTheFileAfresh)
{
    // A clip decoded once is reused only while the file holds the same bytes.
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/clip.mp3");
    ASSERT_TRUE(QFile::copy(spinClip, path));
    MediaPlayer player;
    player.setFileName(path);
    player.Open();
    const qint64 spinFrames = player.frameCount();

    QFile::remove(path);
    EXPECT_THROW(player.Open(), MediaDeviceError);
    EXPECT_FALSE(player.isOpen());

    ASSERT_TRUE(QFile::copy(winClip, path));
    player.Open();
    EXPECT_NE(player.frameCount(), spinFrames);
    MediaPlayer fresh;
    fresh.setFileName(winClip);
    fresh.Open();
    EXPECT_EQ(player.frameCount(), fresh.frameCount());
}

TEST(MediaPlayer, MissingOutputLeavesTheClipSilentAndIsToldApartFromABadClip)
{
    // As the system has it: missing exactly when there is no default output.
    {
        MediaPlayer player;
        player.setFileName(spinClip);
        player.Open();
        EXPECT_FALSE(player.outputMissing()) << "only Play asks for the output";
        player.Play();
        EXPECT_EQ(player.outputMissing(), !haveOutputDevice());
        EXPECT_EQ(player.outputMissing(), player.playback() == MediaPlayer::Playback::Silent);
    }
    // Pretended missing, then there: each Play asks afresh; a bad clip still fails to open.
    MediaPlayer player;
    player.setFileName(spinClip);
    for (const bool present : {false, true, false}) {
        MediaPlayer::setSoundOutputForTesting(present);
        player.Open();
        player.Play();
        EXPECT_EQ(player.outputMissing(), !present);
        EXPECT_TRUE(player.isOpen());
        if (!present) {
            EXPECT_EQ(player.playback(), MediaPlayer::Playback::Silent);
            EXPECT_FALSE(player.startedOnDevice());
        }
        player.setFileName(spinClip + QStringLiteral(".missing"));
        EXPECT_FALSE(openError(player).isEmpty());
        EXPECT_FALSE(player.isOpen());
        player.setFileName(spinClip);
    }
    MediaPlayer::setSoundOutputForTesting(std::nullopt);
}

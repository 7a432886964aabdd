#include "draw_screen_fixture.h"

#include "audio/media_device_error.h"
#include "audio/media_player.h"
#include "datafiles/app_paths.h"
#include "drawscreen/celebration_overlay.h"
#include "journal/journal.h"
#include "journal/journal_row.h"

#include <QFile>
#include <QTimer>

namespace {

const QString NoSoundNotice = QStringLiteral("没有可用的声音设备，摇奖将不播放声音。");

// A draw screen on a machine whose sound output is missing, or comes and goes, as the test
// says; every box is recorded with whether the spin was turning when it came up.
class NoSoundOutput : public DrawScreenTest
{
protected:
    struct Box
    {
        MessageBoxRequest request;
        bool duringSpin;
    };
    QList<Box> shown;

    void SetUp() override
    {
        MediaPlayer::setSoundOutputForTesting(false);
        setMessageBoxPresenterForTesting([this](QWidget*, const MessageBoxRequest& request) {
            shown.append({request, screen && screen->parts().spinTimer->isActive()});
            return true;
        });
    }
    void TearDown() override { MediaPlayer::setSoundOutputForTesting(true); }

    QStringList notices() const
    {
        QStringList out;
        for (const Box& box : shown)
            if (box.request.text == NoSoundNotice) {
                EXPECT_EQ(box.request.kind, MessageBoxRequest::Kind::Notice);
                EXPECT_EQ(box.request.caption, QStringLiteral("提示"));
                EXPECT_FALSE(box.duringSpin) << "the notice came up while the pointer turned";
                out.append(box.request.text);
            }
        return out;
    }
    QStringList errors() const
    {
        QStringList out;
        for (const Box& box : shown)
            if (box.request.kind == MessageBoxRequest::Kind::Error)
                out.append(box.request.text);
        return out;
    }
    QStringList journalEvents()
    {
        screen->journal()->waitUntilWritten();
        QStringList out;
        for (const QByteArray& line : folder.read(JournalFileName).split('\n').mid(1))
            if (const auto row = parseRow(line.chopped(line.endsWith('\r') ? 1 : 0)))
                out.append(row->event);
        return out;
    }
    // Starts a spin and says whether it turns.
    bool start()
    {
        screen->startButtonClick();
        return screen->parts().spinTimer->isActive();
    }
    // What the player says today for a clip that cannot be opened, with an output there.
    static QString openErrorOf(const QString& path)
    {
        MediaPlayer::setSoundOutputForTesting(true);
        MediaPlayer player;
        player.setFileName(path);
        QString message;
        try {
            player.Open();
        } catch (const MediaDeviceError& e) {
            message = e.message();
        }
        MediaPlayer::setSoundOutputForTesting(false);
        return message;
    }
};

} // namespace

TEST_F(NoSoundOutput, EveryModeDrawsCelebratesAndJournalsSilentlyAndTellsOnceAtStartUp)
{
    for (const QByteArray& mode : {QByteArray("1"), QByteArray("3")}) {
        folder.write("data/db.dat", "20000\r\n17000\r\n9000\r\n30000\r\n25000\r\n");
        folder.setSetting("kongzhimoshi", mode);
        folder.setSetting("zhongjiang_texiao", "1");
        shown.clear();
        startFreshProgram();
        // Told once the first frame is up, before any spin; no spin tells it again.
        EXPECT_EQ(notices(), QStringList{NoSoundNotice});
        screen->show();
        for (int spin = 1; spin <= 4; ++spin) {
            ASSERT_TRUE(start()) << "spin " << spin << " in mode " << mode.constData();
            EXPECT_TRUE(screen->parts().soundPlayer->outputMissing());
            EXPECT_EQ(notices().size(), 1);
            runSpin();
            EXPECT_EQ(screen->resultsCount(), spin);
            EXPECT_TRUE(screen->parts().celebration->celebrating()) << "spin " << spin;
        }
        EXPECT_EQ(notices(), QStringList{NoSoundNotice});
        EXPECT_EQ(shown.size(), 1) << "no other box: " << shown.last().request.text.toStdString();
        EXPECT_EQ(journalEvents(), (QStringList{QStringLiteral("启动"), QStringLiteral("中奖"),
                                                QStringLiteral("中奖"), QStringLiteral("中奖"),
                                                QStringLiteral("中奖")}));
        screen.reset();
    }
}

TEST_F(NoSoundOutput, ClipThatCannotBeOpenedIsReportedAtEachStartAsWithAnOutput)
{
    folder.setSetting("kongzhimoshi", "1");
    // Kept from the folder's own copy: under Wine a file name given in the source is only
    // found where the locale is UTF-8.
    const QByteArray clipBytes = folder.read("sound/摇奖中.mp3");
    ASSERT_FALSE(clipBytes.isEmpty());
    folder.remove("sound/摇奖中.mp3");
    const QString expected = openErrorOf(programFolder() + QStringLiteral("sound/摇奖中.mp3"));
    ASSERT_FALSE(expected.isEmpty());
    startProgram();
    // Start-up asks for the output, not for the clip: the output is told missing.
    EXPECT_EQ(notices().size(), 1);
    EXPECT_TRUE(errors().isEmpty());
    for (int press = 0; press < 3; ++press)
        EXPECT_FALSE(start()) << "a spin without its clip turned";
    ASSERT_EQ(errors().size(), 3);
    for (const QString& error : errors())
        EXPECT_EQ(error, expected + (expected.back() > QLatin1Char('.') ? "." : ""));
    EXPECT_EQ(notices().size(), 1) << "a missing clip is not told as a missing output";
    EXPECT_EQ(screen->resultsCount(), 0);

    // With the clip back the draw goes on silently, without the notice again.
    folder.write("sound/摇奖中.mp3", clipBytes);
    ASSERT_TRUE(start());
    runSpin();
    EXPECT_EQ(screen->resultsCount(), 1);
    EXPECT_EQ(notices().size(), 1);

    // A fanfare that cannot be opened: the prize is recorded, then reported as today.
    folder.remove("sound/中奖后.mp3");
    shown.clear();
    ASSERT_TRUE(start());
    runSpin();
    EXPECT_EQ(screen->resultsCount(), 2);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_FALSE(shown.first().duringSpin);
}

TEST_F(NoSoundOutput, OutputLostMidSpinIsToldOnceTheSpinHasEndedAndOneThatComesBackIsUsed)
{
    folder.setSetting("kongzhimoshi", "1");
    MediaPlayer::setSoundOutputForTesting(true);
    startProgram();
    EXPECT_TRUE(shown.isEmpty()) << "an output there is not told";
    ASSERT_TRUE(start());
    // The output goes while the pointer turns: the fanfare is silent, and the operator hears
    // why once the spin has ended (notices() checks it was not during the spin).
    MediaPlayer::setSoundOutputForTesting(false);
    for (int ticks = 0; ticks < 2; ++ticks)
        screen->spinTimerTick();
    EXPECT_TRUE(shown.isEmpty());
    runSpin();
    EXPECT_TRUE(screen->parts().soundPlayer->outputMissing());
    EXPECT_EQ(notices().size(), 1);
    EXPECT_EQ(screen->resultsCount(), 1);

    // Back before the next start: the next spin plays, and tells nothing.
    MediaPlayer::setSoundOutputForTesting(true);
    ASSERT_TRUE(start());
    EXPECT_FALSE(screen->parts().soundPlayer->outputMissing())
        << "an output that came back is used";
    EXPECT_EQ(notices().size(), 1);
    runSpin();

    // Gone and back again: the draw goes on, and the run is not told twice.
    MediaPlayer::setSoundOutputForTesting(false);
    ASSERT_TRUE(start());
    runSpin();
    MediaPlayer::setSoundOutputForTesting(true);
    ASSERT_TRUE(start());
    EXPECT_FALSE(screen->parts().soundPlayer->outputMissing());
    runSpin();
    EXPECT_EQ(screen->resultsCount(), 4);
    EXPECT_EQ(notices().size(), 1);
    EXPECT_EQ(shown.size(), 1);

    // A new run of the program tells again, at its start-up.
    shown.clear();
    MediaPlayer::setSoundOutputForTesting(false);
    startFreshProgram();
    EXPECT_EQ(notices().size(), 1);
    ASSERT_TRUE(start());
    runSpin();
    EXPECT_EQ(notices().size(), 1);
}

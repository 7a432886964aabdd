#include "evening/draw_evening.h"

#include "datafiles/app_error.h"
#include "draw/draw_texts.h"
#include "evening/sound_cues.h"
#include "journal/journal.h"
#include "support/test_support.h"

#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>

namespace {

class FakeSounds : public SoundCues
{
public:
    void playSpinning(bool loop) override { played << (loop ? "spin, looping" : "spin"); }
    void playFanfare() override
    {
        if (fanfareFails)
            throw AppError(QStringLiteral("no fanfare"));
        played << "fanfare";
    }
    void stopLooping() override { played << "stop looping"; }
    bool outputMissing() const override { return missing; }
    bool probeOutputMissing() override
    {
        played << "probe";
        return missing;
    }

    QStringList played;
    bool missing = false;
    bool fanfareFails = false;
};

// An evening over a copy of the shipped folder in quota mode, with three prizes in the pool:
// slot 1, slot 2 and slot 4.
class Evening : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.setSetting("kongzhimoshi", "3");
        folder.setSetting("tingzhimoshi", "2");
        folder.setSetting("shengyu_xianshi", "1");
        folder.write("data/db.dat", "16560\r\n16600\r\n16700\r\n");
    }

    void start()
    {
        evening = std::make_unique<DrawEvening>();
        evening->setRandomClock([] { return 12345u; });
        evening->setSounds(&sounds);
        evening->setMessages({[this](const QString& t) { told << "notice " + t; },
                              [this](const QString& t) { told << "error " + t; },
                              [this](const QString& t) {
                                  told << "ask " + t;
                                  return answer;
                              }});
        // What happened, in order; the pointer's turns aside.
        DrawEvening* e = evening.get();
        const auto note = [this](const char* what) { return [this, what] { happened << what; }; };
        QObject::connect(e, &DrawEvening::spinStarted, e, note("spin started"));
        QObject::connect(e, &DrawEvening::resultAdded, e, note("result added"));
        QObject::connect(e, &DrawEvening::resultVoided, e, note("result voided"));
        QObject::connect(e, &DrawEvening::poolChanged, e, note("pool changed"));
        QObject::connect(e, &DrawEvening::celebrationDue, e, note("celebration"));
        QObject::connect(e, &DrawEvening::spinEnded, e, note("spin ended"));
        QObject::connect(e, &DrawEvening::stopToPaint, e, note("stop to paint"));
        QObject::connect(e, &DrawEvening::takeBackChanged, e, [this](bool possible) {
            happened << (possible ? "can take back" : "cannot take back");
        });
        evening->loadPool();
        evening->loadPrizeNames();
        evening->openJournal();
    }

    // A spin to its end; the number of ticks.
    int spin()
    {
        evening->startKey();
        int ticks = 0;
        while (evening->spinning() && ticks < 100000) {
            evening->tick();
            ++ticks;
        }
        return ticks;
    }

    int left() const
    {
        const auto counts = evening->prizesLeft();
        return counts ? std::accumulate(counts->begin(), counts->end(), 0) : -1;
    }

    // The program ends without a word: nothing is recorded after what it had recorded.
    void kill()
    {
        evening->journal()->waitUntilWritten();
        evening.reset();
        happened.clear();
        told.clear();
    }

    TestProgramFolder folder;
    FakeSounds sounds;
    QStringList told;
    QStringList happened;
    bool answer = true;
    std::unique_ptr<DrawEvening> evening;
};

} // namespace

TEST_F(Evening, AWholeEveningThroughItsSlots)
{
    start();
    EXPECT_TRUE(told.isEmpty()) << told.join('|').toStdString();
    EXPECT_EQ(left(), 3);
    happened.clear();

    // Two draws: sounds, results and the celebration in their order.
    spin();
    EXPECT_EQ(happened, (QStringList{"spin started", "pool changed", "result added", "celebration",
                                     "can take back", "spin ended"}));
    spin();
    EXPECT_EQ(sounds.played, (QStringList{"spin", "fanfare", "spin", "fanfare"}));
    ASSERT_EQ(evening->session().results().size(), 2);
    EXPECT_EQ(left(), 1);

    // Taken back after a question; No changes nothing.
    const DrawResult second = evening->session().results()[1];
    answer = false;
    evening->takeBack();
    EXPECT_EQ(told, QStringList{"ask " + VoidQuestion.arg("2", second.prize)});
    EXPECT_EQ(evening->session().prizesGiven(), 2);
    answer = true;
    happened.clear();
    evening->takeBack();
    EXPECT_EQ(happened, (QStringList{"result voided", "pool changed"}));
    EXPECT_EQ(evening->session().prizesGiven(), 1);
    EXPECT_EQ(left(), 2);

    // Saved, then one more draw that the save does not cover.
    told.clear();
    evening->saveResults({QStringLiteral("SimSun"), 14});
    EXPECT_EQ(told, QStringList{"notice " + SavedText});
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("中奖信息.xlsx"))));
    spin();
    EXPECT_EQ(left(), 1);
    kill();

    // The next start carries the evening on: the voided draw marked, its prize still in.
    start();
    EXPECT_EQ(told, QStringList{"ask " + ContinueQuestion.arg(3)});
    ASSERT_EQ(evening->session().results().size(), 3);
    EXPECT_TRUE(evening->session().results()[1].voided);
    EXPECT_EQ(evening->session().prizesGiven(), 2);
    EXPECT_EQ(left(), 1);
    spin();
    told.clear();
    spin();
    EXPECT_EQ(told, QStringList{"notice " + AllDrawnText});
    EXPECT_EQ(evening->session().prizesGiven(), 3);

    // Closing asks; No keeps the evening going, Yes records its end.
    answer = false;
    EXPECT_FALSE(evening->confirmClose());
    answer = true;
    EXPECT_TRUE(evening->confirmClose());
}

TEST_F(Evening, AFanfareThatCannotStartIsToldInsteadOfTheCelebration)
{
    start();
    sounds.fanfareFails = true;
    happened.clear();
    spin();
    EXPECT_EQ(told, QStringList{"error no fanfare"});
    EXPECT_FALSE(happened.contains("celebration"));
    // The prize the pointer shows is recorded all the same.
    EXPECT_EQ(evening->session().results().size(), 1);
}

TEST_F(Evening, TheFanfareWaitsForTheStopToBePainted)
{
    start();
    evening->setStopWaitsForPaint(true);
    happened.clear();
    sounds.played.clear();
    spin();
    // Recorded at the stop; the views, the fanfare, the celebration and the end after the
    // paint.
    EXPECT_EQ(happened, (QStringList{"spin started", "stop to paint"}));
    EXPECT_EQ(evening->session().results().size(), 1);
    EXPECT_EQ(sounds.played, QStringList{"spin"});
    EXPECT_TRUE(evening->stopPending());
    EXPECT_FALSE(evening->canTakeBack());
    // The start key waits for the stop too.
    evening->startKey();
    EXPECT_FALSE(evening->spinning());
    EXPECT_EQ(sounds.played, QStringList{"spin"});
    happened.clear();
    evening->stopPainted();
    EXPECT_EQ(sounds.played, (QStringList{"spin", "fanfare"}));
    EXPECT_EQ(happened, (QStringList{"pool changed", "result added", "celebration", "can take back",
                                     "spin ended"}));
    EXPECT_FALSE(evening->stopPending());
    // A second answer changes nothing.
    evening->stopPainted();
    EXPECT_EQ(sounds.played.size(), 2);
    // A fanfare that fails after the paint is told as before, in place of the celebration.
    sounds.fanfareFails = true;
    happened.clear();
    spin();
    evening->stopPainted();
    EXPECT_EQ(told, QStringList{"error no fanfare"});
    EXPECT_FALSE(happened.contains("celebration"));
    EXPECT_EQ(evening->session().results().size(), 2);
}

TEST_F(Evening, AllDrawnWaitsForTheCelebrationOnlyWhereTheyShowTogether)
{
    struct Case
    {
        const char* name;
        bool waits;      // setNoticesWaitForCelebration
        bool celebrates; // the celebration setting
        bool heldAtStop; // nothing told at the stop
    };
    const Case cases[] = {{"stage", true, true, true},
                          {"operator window", false, true, false},
                          {"no celebration", true, false, false}};
    for (const Case& c : cases) {
        folder.write("data/db.dat", "16560\r\n");
        folder.remove(QStringLiteral("摇奖记录.csv"));
        folder.setSetting("zhongjiang_texiao", c.celebrates ? "1" : "0");
        start();
        evening->setNoticesWaitForCelebration(c.waits);
        spin();
        EXPECT_EQ(evening->session().prizesGiven(), 1) << c.name;
        EXPECT_EQ(told.isEmpty(), c.heldAtStop) << c.name;
        evening->celebrationEnded();
        EXPECT_EQ(told, QStringList{"notice " + AllDrawnText}) << c.name;
        // Told once: a later fade tells nothing more.
        evening->celebrationEnded();
        EXPECT_EQ(told.size(), 1) << c.name;
        kill();
    }
}

TEST_F(Evening, ANextSpinDropsTheHeldNoticeAndTellsItsOwn)
{
    folder.write("data/db.dat", "16560\r\n");
    start();
    spin();
    ASSERT_TRUE(told.isEmpty());
    spin(); // the pool is used up: this spin says so itself, at its first tick
    EXPECT_EQ(told, QStringList{"notice " + AllDrawnText});
    evening->celebrationEnded();
    EXPECT_EQ(told.size(), 1) << "the dropped notice came after all";
}

TEST_F(Evening, TakingTheLastPrizeBackDropsTheHeldNotice)
{
    folder.write("data/db.dat", "16560\r\n");
    start();
    spin();
    evening->takeBack();
    told.clear();
    evening->celebrationEnded();
    EXPECT_TRUE(told.isEmpty()) << told.join('|').toStdString();
}

TEST_F(Evening, NoSoundOutputIsToldAfterTheFirstFrameOrOnceASpinHasEnded)
{
    struct Case
    {
        const char* name;
        bool missingAtStartUp;
        bool missingInSpin;
        QStringList toldAfterFirstFrame;
        QStringList toldAtSpinEnd;
    };
    const QString n = "notice " + NoSoundOutputText;
    const Case cases[] = {{"missing from the start", true, true, {n}, {}},
                          {"lost later", false, true, {}, {n}},
                          {"there all along", false, false, {}, {}}};
    for (const Case& c : cases) {
        folder.remove(QStringLiteral("摇奖记录.csv"));
        sounds.missing = c.missingAtStartUp;
        sounds.played.clear();
        start();
        EXPECT_TRUE(told.isEmpty()) << c.name << ": before the first frame";
        evening->firstFrameShown();
        EXPECT_EQ(told, c.toldAfterFirstFrame) << c.name;
        EXPECT_EQ(sounds.played, QStringList{"probe"}) << c.name;
        evening->firstFrameShown(); // asked once a run
        EXPECT_EQ(sounds.played.size(), 1) << c.name;
        told.clear();
        sounds.missing = c.missingInSpin;
        // Never before the spin turns: the box would hold it.
        evening->startKey();
        EXPECT_TRUE(evening->spinning()) << c.name;
        EXPECT_TRUE(told.isEmpty()) << c.name;
        while (evening->spinning())
            evening->tick();
        EXPECT_EQ(told, c.toldAtSpinEnd) << c.name;
        told.clear();
        spin();
        EXPECT_TRUE(told.isEmpty()) << c.name << ": told twice";
        kill();
    }
}

TEST_F(Evening, TheStartUpChecksWaitForTheContinueQuestion)
{
    start();
    spin();
    kill();
    sounds.missing = true;
    // The question comes up before the first frame is shown and the frame paints under it.
    evening = std::make_unique<DrawEvening>();
    evening->setSounds(&sounds);
    evening->setMessages({[this](const QString& t) { told << "notice " + t; },
                          {},
                          [this](const QString&) {
                              told << "ask";
                              evening->firstFrameShown();
                              return false;
                          }});
    evening->loadPool();
    evening->loadPrizeNames();
    evening->openJournal();
    EXPECT_EQ(told, (QStringList{"ask", "notice " + NoSoundOutputText}));
}

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

#include "draw_screen_fixture.h"

#include "audio/media_player.h"
#include "draw/key_stop.h"
#include "draw/prize_draw.h"
#include "draw/spin_rules.h"
#include "draw/target_draw.h"
#include "drawscreen/celebration_overlay.h"
#include "rotatingimage/rotating_image.h"

#include <QTextEdit>

namespace {

const QString Prefix = QStringLiteral("恭喜！你获得了奖品     ");
const QString KeepOne = QStringLiteral("至少要保留一个可以出现的奖品！");

class KeySpin : public DrawScreenTest
{
protected:
    int64_t now = 1000000;

    void startKeyProgram(const QByteArray& mode)
    {
        folder.setSetting("kongzhimoshi", mode);
        folder.setSetting("tingzhimoshi", "1");
        startFreshProgram();
        int seed = 1;
        screen->setRandomClock([seed]() mutable { return static_cast<uint32_t>(seed++ * 7919); });
        screen->setMillisecondClock([this] { return now; });
    }

    // Ticks n times, 10 ms of fake time each; true while the spin still runs.
    bool tick(int n)
    {
        for (int i = 0; i < n && screen->parts().spinTimer->isActive(); ++i) {
            now += 10;
            screen->spinTimerTick();
        }
        return screen->parts().spinTimer->isActive();
    }
};

} // namespace

// In modes 1 and 2 the press draws a target and the spin ends as a fully random spin that had
// started at the pointer's angle then; no-big-prize mode never ends on a kept-out prize.
TEST_F(KeySpin, FullyRandomAndNoBigPrizeStopAsThoughStartedAtThePress)
{
    folder.setSetting("buchuxian", "3,4,5,6");
    for (const QByteArray mode : {"1", "2"}) {
        for (int turned : {0, 7, 45}) {
            startKeyProgram(mode);
            screen->startButtonClick();
            ASSERT_TRUE(screen->parts().spinTimer->isActive());
            EXPECT_TRUE(screen->parts().soundPlayer->looping());
            // No stop rule before the press, however long the spin turns.
            EXPECT_TRUE(tick(50 + turned));
            const long double origin = screen->parts().pointerImage->angle();
            EXPECT_EQ(origin, -297.0L * (50 + turned));
            screen->startButtonClick();
            const int32_t target = screen->session().draw().spinTarget();
            EXPECT_GE(target, 18360);
            EXPECT_LE(target, 26999);

            int ticks = 0;
            while (tick(1))
                ++ticks;
            EXPECT_EQ(ticks + 1, fullyRandomStopTicks(target));
            EXPECT_GE(ticks + 1, 61);
            EXPECT_LE(ticks + 1, 90);
            const long double final = screen->parts().pointerImage->angle();
            EXPECT_EQ(final, fullyRandomStopAngle(target, origin));
            const int slot = prizeSlotForAngle(final);
            if (mode == "2") {
                EXPECT_TRUE(slot < 3 || slot > 6) << slot;
            }
            EXPECT_EQ(lastResult(), Prefix + screen->prizeName(slot));
            EXPECT_FALSE(screen->parts().soundPlayer->looping()); // the fanfare replaced the loop
            EXPECT_TRUE(boxes.boxes().isEmpty());
        }
    }
}

TEST_F(KeySpin, APressInTheFirstHalfSecondIsIgnored)
{
    startKeyProgram("1");
    const int64_t started = now;
    screen->startButtonClick();
    now = started + 499;
    screen->startButtonClick(); // the tail of the double press that started it
    EXPECT_TRUE(screen->session().draw().awaitingKey());
    EXPECT_TRUE(screen->parts().spinTimer->isActive());
    now = started + 500;
    screen->startButtonClick();
    EXPECT_FALSE(screen->session().draw().awaitingKey());
    // Further presses while it runs out change nothing.
    const int32_t target = screen->session().draw().spinTarget();
    now += 1000;
    screen->startButtonClick();
    EXPECT_EQ(screen->session().draw().spinTarget(), target);
    EXPECT_FALSE(tick(100));
    EXPECT_EQ(screen->resultsCount(), 1);
}

TEST_F(KeySpin, StopsByItselfThirtySecondsAfterTheStart)
{
    startKeyProgram("1");
    const int64_t started = now;
    screen->startButtonClick();
    EXPECT_TRUE(tick(2999)); // 29.99 s
    EXPECT_TRUE(screen->session().draw().awaitingKey());
    EXPECT_EQ(now - started, 29990);
    const long double origin = screen->parts().pointerImage->angle();
    EXPECT_TRUE(tick(1)); // 30 s: the draw is made, counted from here
    EXPECT_FALSE(screen->session().draw().awaitingKey());
    const int32_t target = screen->session().draw().spinTarget();
    EXPECT_FALSE(tick(100));
    EXPECT_EQ(screen->parts().pointerImage->angle(), fullyRandomStopAngle(target, origin));
    EXPECT_EQ(screen->resultsCount(), 1);
}

// A quota stop by key lands on the entry's slot at least 46 turns after the press, and uses
// the entry up as an automatic stop does.
TEST_F(KeySpin, QuotaStopLandsOnTheEntrysSlot)
{
    folder.write("data/db.dat", "20000\r\n16581\r\n");
    startKeyProgram("3");
    for (int round = 0; round < 2; ++round) {
        screen->startButtonClick();
        EXPECT_TRUE(tick(10 + 33 * round));
        const long double origin = screen->parts().pointerImage->angle();
        now += 600;
        screen->startButtonClick();
        const int32_t entry = screen->session().draw().pool()[screen->session().draw().poolIndex()];
        const int64_t distance = quotaKeyStopDistance(entry, origin);
        int ticks = 1;
        while (tick(1))
            ++ticks;
        EXPECT_EQ(screen->parts().pointerImage->angle(), -static_cast<long double>(distance));
        EXPECT_GE(-origin + ticks * 297.0L + 297, distance); // it stopped one step ahead
        EXPECT_LT(-origin + ticks * 297.0L, distance + 297.0L);
        EXPECT_EQ(lastResult(), Prefix + screen->prizeName(prizeSlotForAngle(-entry)));
        EXPECT_FALSE(screen->session().draw().pool().contains(entry));
    }
    EXPECT_EQ(screen->resultsCount(), 2);
    EXPECT_TRUE(boxes.texts().isEmpty()) << "told over the celebration";
    screen->parts().celebration->dismiss();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("所有奖品已经摇完！")});
}

TEST_F(KeySpin, AUsedUpPoolEndsTheSpinAtOnceAndSilencesTheLoop)
{
    folder.write("data/db.dat", "");
    startKeyProgram("3");
    screen->startButtonClick();
    EXPECT_FALSE(tick(1));
    EXPECT_FALSE(screen->parts().soundPlayer->isOpen());
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("所有奖品已经摇完！")});
    EXPECT_EQ(screen->resultsCount(), 0);
}

// Keeping every prize out is refused at the start, or at the press if the file changed.
TEST_F(KeySpin, EveryPrizeKeptOutStartsNothing)
{
    folder.setSetting("buchuxian", "1,2,3,4,5,6,7,8");
    for (const QByteArray stopMode : {"1", "2"}) {
        folder.setSetting("kongzhimoshi", "2");
        folder.setSetting("tingzhimoshi", stopMode);
        startProgram();
        boxes.clear();
        screen->startButtonClick();
        EXPECT_FALSE(screen->parts().spinTimer->isActive());
        EXPECT_EQ(boxes.texts(), QStringList{KeepOne});
    }
    folder.setSetting("buchuxian", "1");
    startKeyProgram("2");
    boxes.clear();
    screen->startButtonClick();
    tick(3);
    folder.setSetting("buchuxian", "1,2,3,4,5,6,7,8");
    now += 600;
    screen->startButtonClick();
    EXPECT_FALSE(screen->parts().spinTimer->isActive());
    EXPECT_EQ(boxes.texts(), QStringList{KeepOne});
    EXPECT_EQ(screen->resultsCount(), 0);
}

// Automatic stop in no-big-prize mode: one draw at the start, by the fully random rule.
TEST_F(KeySpin, NoBigPrizeWithAutomaticStopKeepsThePrizesOut)
{
    folder.setSetting("kongzhimoshi", "2");
    folder.setSetting("buchuxian", "1,2,3,4,5,6,7");
    for (const QByteArray stopMode : {"2", "x"}) {
        folder.setSetting("tingzhimoshi", stopMode);
        startFreshProgram();
        int seed = 0;
        screen->setRandomClock([&seed] { return static_cast<uint32_t>(++seed * 104729); });
        for (int i = 0; i < 5; ++i) {
            screen->startButtonClick();
            EXPECT_FALSE(screen->parts().soundPlayer->looping());
            const int32_t target = screen->session().draw().spinTarget();
            EXPECT_EQ(runSpin(), fullyRandomStopTicks(target));
            EXPECT_EQ(prizeSlotForAngle(screen->parts().pointerImage->angle()), 8);
        }
        EXPECT_EQ(screen->resultsCount(), 5);
    }
    // Nothing valid listed: exactly one draw, as in fully random mode.
    folder.setSetting("buchuxian", QByteArray());
    folder.setSetting("tingzhimoshi", QByteArray());
    startFreshProgram();
    int reads = 0;
    screen->setRandomClock([&reads] { return static_cast<uint32_t>(++reads); });
    screen->startButtonClick();
    EXPECT_EQ(reads, 1);
    RandomSource same([] { return 1u; });
    same.reseed();
    EXPECT_EQ(screen->session().draw().spinTarget(),
              SpinTargetBase + static_cast<int32_t>(same.below(SpinTargetSpread)));
}

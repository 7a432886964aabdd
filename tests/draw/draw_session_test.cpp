#include "draw/draw_session.h"
#include "draw/draw_texts.h"
#include "draw/spin_rules.h"

#include <gtest/gtest.h>

namespace {
const QByteArray AllKeptOut = "1,2,3,4,5,6,7,8";

// Ticks until the spin ends; the last report, and what the session said on the way.
struct SpinLog
{
    QStringList events;
    SpinReport last;
    int ticks = 0;
};

SpinLog runSpin(DrawSession& session, const SpinSettings& settings)
{
    SpinLog log;
    QObject context;
    QObject::connect(&session, &DrawSession::stopping, &context,
                     [&] { log.events << QStringLiteral("stopping"); });
    QObject::connect(&session, &DrawSession::announced, &context,
                     [&](const Announcement&, const DrawResult& r) {
                         log.events << QStringLiteral("announced ") + r.prize;
                     });
    QObject::connect(&session, &DrawSession::resultAdded, &context, [&](const DrawResult& r) {
        log.events << QStringLiteral("added ") + r.prize;
    });
    long double angle = 0;
    while (log.ticks < 100000) {
        ++log.ticks;
        log.last = session.tick(settings, angle);
        angle = log.last.angle;
        if (log.last.ended())
            break;
    }
    return log;
}
} // namespace

TEST(DrawSession, PlanRefusesWhatCannotStopAndChecksThePrizesKeptOutOnce)
{
    struct Case
    {
        QByteArray mode, excluded, stopMode;
        QString refusal;
        bool byKey;
        int keptOut;
    };
    const Case cases[] = {
        {"1", AllKeptOut, "2", QString(), false, 0}, // only no-big-prize mode keeps prizes out
        {"2", "1,7", "2", QString(), false, 2},
        {"2", AllKeptOut, "1", KeepOnePrizeText, false, 8},
        {"2", "buchuxian", "1", QString(), true, 0}, // a missing key keeps nothing out
        {"3", AllKeptOut, "1", QString(), true, 0},
        {"4", "", "1", InvalidModeText, false, 0},
        {"kongzhimoshi", "", "2", InvalidModeText, false, 0},
    };
    for (const Case& c : cases) {
        const SpinPlan plan =
            DrawSession::plan(SpinSettings::fixed(c.mode, c.excluded, c.stopMode));
        EXPECT_EQ(plan.refusal, c.refusal) << c.mode.constData() << ' ' << c.excluded.constData();
        EXPECT_EQ(plan.byKey, c.byKey) << c.mode.constData();
        int keptOut = 0;
        for (int slot = 1; slot <= 8; ++slot)
            keptOut += plan.excluded.contains(slot) ? 1 : 0;
        EXPECT_EQ(keptOut, c.keptOut) << c.mode.constData() << ' ' << c.excluded.constData();
    }
}

TEST(DrawSession, TickTurnsThenStopsThenChecksThePoolThenTheMode)
{
    struct Case
    {
        QByteArray mode;
        QList<int32_t> pool;
        QStringList events; // in order, over the whole spin
        QString notice;
        int ticks; // -1: any
    };
    const Case cases[] = {
        // The last entry: the prize first, then "all drawn" in the same tick.
        {"3", {720 + 10}, {"stopping", "announced 奖品1", "added 奖品1"}, AllDrawnText, -1},
        {"3", {}, {}, AllDrawnText, 1}, // nothing to draw: the first tick ends it
        {"1", {}, {"stopping", "announced 奖品%1", "added 奖品%1"}, QString(), -1},
        {"4", {20000}, {}, InvalidModeText, 1}, // no stop rule: ended after one turn
    };
    for (const Case& c : cases) {
        DrawSession session;
        session.setRandomClock([] { return 7u; });
        session.setPrizeNames([](int slot) { return QStringLiteral("奖品%1").arg(slot); });
        session.setPool(c.pool, "hash");
        session.start(DrawSession::plan(SpinSettings::fixed(c.mode)));
        ASSERT_TRUE(session.spinning());
        const SpinLog log = runSpin(session, SpinSettings::fixed(c.mode));
        EXPECT_FALSE(session.spinning()) << c.mode.constData();
        EXPECT_EQ(log.last.notice, c.notice) << c.mode.constData();
        EXPECT_EQ(log.last.prizeWon, !c.events.isEmpty()) << c.mode.constData();
        if (c.ticks >= 0) {
            EXPECT_EQ(log.ticks, c.ticks) << c.mode.constData();
        }
        QStringList expected = c.events;
        if (log.last.prizeWon) {
            const int slot = session.results().last().slot;
            EXPECT_EQ(slot, prizeSlotForAngle(log.last.angle));
            expected.replaceInStrings(QStringLiteral("%1"), QString::number(slot));
        } else {
            // A spin without a prize stops where the last turn left the pointer.
            EXPECT_EQ(log.last.angle, -SpinStep * log.ticks) << c.mode.constData();
        }
        EXPECT_EQ(log.events, expected) << c.mode.constData();
    }
}

TEST(DrawSession, KeyStopSpinTurnsUntilThePressAndEndsWhenNothingIsLeftToDraw)
{
    int64_t now = 0;
    QByteArray excluded = "1";
    const SpinSettings settings{[] { return QByteArray("2"); }, [&] { return excluded; },
                                [] { return QByteArray("1"); }};
    DrawSession session;
    session.setMillisecondClock([&] { return now; });
    session.start(DrawSession::plan(settings));
    ASSERT_TRUE(session.stopsByKey());
    // The press that started the spin is still going on: nothing stops.
    now = 499;
    EXPECT_FALSE(session.pressKey(settings, -10).ended());
    EXPECT_TRUE(session.draw().awaitingKey());
    // Every prize kept out by the time nobody has pressed: the spin ends where it stands.
    excluded = AllKeptOut;
    now = 30000;
    const SpinReport report = session.tick(settings, -123);
    EXPECT_EQ(report.notice, KeepOnePrizeText);
    EXPECT_EQ(report.angle, -123);
    EXPECT_FALSE(session.spinning());
}

TEST(DrawSession, ContinuingTakesBackOnlyQuotaEntriesDrawnFromThisPool)
{
    const auto win = [](const QString& prize, const QByteArray& mode, const QByteArray& drawn,
                        const QByteArray& hash) {
        EarlierWin w;
        w.result.prize = prize;
        w.result.time = QDateTime(QDate(2026, 12, 9), QTime(20, 0));
        w.mode = mode;
        w.drawn = drawn;
        w.poolHash = hash;
        return w;
    };
    struct Case
    {
        QByteArray poolHash;
        QList<int32_t> left;
    };
    // Same entry twice in the pool: each earlier win takes one.
    const QList<EarlierWin> wins{win("a", "3", "600", "this"), win("b", "3", "600", "other"),
                                 win("c", "1", "17000", "this"), win("d", "3", "x", "this"),
                                 win("e", "3", "20000", "this")};
    const Case cases[] = {
        {"this", {600, 17000}},
        {"", {600, 20000, 600, 17000}}, // an unknown pool takes nothing back
    };
    for (const Case& c : cases) {
        DrawSession session;
        session.setPool({600, 20000, 600, 17000}, c.poolHash);
        QStringList added;
        QObject::connect(&session, &DrawSession::resultAdded,
                         [&](const DrawResult& r) { added << r.prize; });
        session.continueEarlierRun(wins);
        EXPECT_EQ(session.draw().pool(), c.left) << c.poolHash.constData();
        EXPECT_EQ(added, (QStringList{"a", "b", "c", "d", "e"}));
        ASSERT_EQ(session.results().size(), 5);
        EXPECT_EQ(session.results()[0].time, wins[0].result.time);
    }
}

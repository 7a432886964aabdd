#include "draw/draw_session.h"
#include "draw/prize_draw.h"
#include "draw/spin_rules.h"

#include <gtest/gtest.h>

namespace {
// Runs a spin of mode as the screen's timer would, through the session; returns its
// announcements.
QList<Announcement> spin(DrawSession& session, const QByteArray& mode)
{
    QList<Announcement> heard;
    const auto connection = QObject::connect(&session.draw(), &PrizeDraw::announced,
                                             [&](const Announcement& a) { heard.append(a); });
    session.start(DrawSession::plan(SpinSettings::fixed(mode)));
    long double angle = 0;
    for (int tick = 0; tick < 1000; ++tick) {
        const SpinReport report = session.tick(SpinSettings::fixed(mode), angle);
        angle = report.angle;
        if (report.ended())
            break;
    }
    QObject::disconnect(connection);
    return heard;
}
} // namespace

TEST(PrizeDraw, AnnouncementCarriesTheSeedAndTheDrawnValue)
{
    struct Case
    {
        QByteArray mode;
        QList<int32_t> pool;
        int32_t drawn;
        long double angle;
    };
    // Seed 1: the first number below n is (134775814 * n) >> 32.
    const int32_t target =
        SpinTargetBase + int32_t((uint64_t(134775814u) * SpinTargetSpread) >> 32);
    const int32_t index = int32_t((uint64_t(134775814u) * 3) >> 32);
    const QList<int32_t> pool{20000, 17000, 593};
    const Case cases[] = {
        {"1", {}, target, -297.0L * std::max(1, target / 297)},
        {"3", pool, pool[index], -static_cast<long double>(pool[index])},
    };
    for (const Case& c : cases) {
        DrawSession session;
        session.setRandomClock([] { return 1u; });
        session.setPool(c.pool, {});
        const QList<Announcement> heard = spin(session, c.mode);
        ASSERT_EQ(heard.size(), 1) << c.mode.constData();
        EXPECT_EQ(heard[0].mode, c.mode);
        EXPECT_EQ(heard[0].seed, 1u);
        EXPECT_EQ(heard[0].drawn, c.drawn);
        EXPECT_EQ(heard[0].angle, c.angle);
        EXPECT_EQ(heard[0].slot, prizeSlotForAngle(c.angle));
        EXPECT_EQ(session.draw().pool().size(), c.pool.isEmpty() ? 0 : c.pool.size() - 1);
    }
}

TEST(PrizeDraw, ModesWithoutAStopRuleAnnounceNothing)
{
    for (const QByteArray& mode : {QByteArray("4"), QByteArray("kongzhimoshi"), QByteArray()}) {
        EXPECT_FALSE(PrizeDraw::hasStopRule(mode));
        DrawSession session;
        session.setPool({20000}, {});
        EXPECT_TRUE(spin(session, mode).isEmpty());
        EXPECT_TRUE(session.draw().tick(mode, -297).noStopRule);
    }
    EXPECT_TRUE(PrizeDraw::hasStopRule("1"));
    EXPECT_TRUE(PrizeDraw::hasStopRule("3"));
}

TEST(PrizeDraw, RemovingDrawnEntriesTakesOneEqualEntryEach)
{
    PrizeDraw draw;
    draw.setPool({600, 20000, 600, 17000, 600});
    EXPECT_EQ(draw.removeDrawn({600, 17000, 600, 12345}), 3);
    EXPECT_EQ(draw.pool(), (QList<int32_t>{20000, 600}));
}

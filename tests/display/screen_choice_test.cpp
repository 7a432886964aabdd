// Which screen the draw screen goes to: the next one round the system's list, the one it opens
// on, and where it goes when its screen is disconnected.
#include "display/screen_choice.h"

#include <gtest/gtest.h>

TEST(ScreenChoice, NextGoesRoundTheListInOrder)
{
    struct Case
    {
        int current, count, next;
    };
    const Case cases[] = {
        {0, 2, 1},  {1, 2, 0},  {0, 3, 1},
        {1, 3, 2},  {2, 3, 0},  {0, 1, 0}, // a single screen: it stays
        {-1, 3, 0},                        // on no listed screen: the first
        {5, 3, 0},  {0, 0, -1}, {-1, 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScreenChoice::next(c.current, c.count), c.next) << c.current << " of " << c.count;
}

TEST(ScreenChoice, AtStartTheRememberedScreenWhenConnectedElseThePrimary)
{
    const QStringList three = {QStringLiteral("eDP-1"), QStringLiteral("HDMI-1"),
                               QStringLiteral("DP-2")};
    struct Case
    {
        QStringList names;
        QString remembered;
        int primary;
        std::optional<int> chosen;
    };
    const Case cases[] = {
        {three, QString(), 0, std::nullopt}, // nothing remembered: opens as it always did
        {three, QStringLiteral("HDMI-1"), 0, 1},
        {three, QStringLiteral("DP-2"), 1, 2},
        {three, QStringLiteral("eDP-1"), 2, 0},
        {three, QStringLiteral("hdmi-1"), 0, 0}, // names are the system's, case and all
        {three, QStringLiteral("VGA-1"), 0, 0},  // not connected: the primary
        {three, QStringLiteral("VGA-1"), 2, 2},
        {three, QStringLiteral("VGA-1"), -1, 0}, // no primary listed: the first
        {{}, QStringLiteral("HDMI-1"), -1, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScreenChoice::atStart(c.names, c.remembered, c.primary), c.chosen)
            << c.remembered.toStdString() << " primary " << c.primary;
}

TEST(ScreenChoice, AfterRemovalThePrimaryOfThoseLeft)
{
    const QStringList two = {QStringLiteral("eDP-1"), QStringLiteral("HDMI-1")};
    EXPECT_EQ(ScreenChoice::afterRemoval(two, 1), 1);
    EXPECT_EQ(ScreenChoice::afterRemoval(two, 0), 0);
    EXPECT_EQ(ScreenChoice::afterRemoval(two, -1), 0);
    EXPECT_EQ(ScreenChoice::afterRemoval({}, -1), -1);
}

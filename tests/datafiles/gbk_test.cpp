#include "datafiles/gbk.h"

#include <gtest/gtest.h>

TEST(Gbk, ChineseTextRoundTripsAsTwoBytesACharacter)
{
    const QString names = QStringLiteral("特等奖：笔记本电脑 · 2027");
    const QByteArray bytes = toGbk(names);
    EXPECT_EQ(bytes.left(2), QByteArray("\xCC\xD8")); // 特
    EXPECT_EQ(fromGbk(bytes), names);
    EXPECT_FALSE(firstNonGbkCharacter(names));
}

TEST(Gbk, UndecodableBytesBecomeReplacementCharactersAndTheRestSurvives)
{
    EXPECT_EQ(fromGbk(QByteArray("a\x81")), QStringLiteral("a\uFFFD"));
    EXPECT_EQ(fromGbk(QByteArray("\xFF\xCC\xD8z")), QStringLiteral("\uFFFD特z"));
    EXPECT_EQ(fromGbk(QByteArray("\x81\x20ok")), QStringLiteral("\uFFFD ok"));
}

TEST(Gbk, CharactersGbkCannotHoldAreFound)
{
    EXPECT_EQ(firstNonGbkCharacter(QStringLiteral("奖品😀名")), QStringLiteral("😀"));
    EXPECT_EQ(firstNonGbkCharacter(QStringLiteral("ok\u0E01")), QStringLiteral("\u0E01"));
    EXPECT_EQ(toGbk(QStringLiteral("a😀b")), QByteArray("a?b"));
}

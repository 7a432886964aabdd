#include "datafiles/app_error.h"
#include "datafiles/integer_conversion.h"

#include <gtest/gtest.h>

TEST(IntegerConversion, AcceptsDecimalWithBlanksAndSign)
{
    EXPECT_EQ(tryParseInteger("0"), 0);
    EXPECT_EQ(tryParseInteger("376"), 376);
    EXPECT_EQ(tryParseInteger("   376"), 376);
    EXPECT_EQ(tryParseInteger("-35"), -35);
    EXPECT_EQ(tryParseInteger("+35"), 35);
    EXPECT_EQ(tryParseInteger("  -0"), 0);
    EXPECT_EQ(tryParseInteger("007"), 7);
}

TEST(IntegerConversion, AcceptsHexadecimalAfterDollarOrZeroX)
{
    EXPECT_EQ(tryParseInteger("$FF"), 255);
    EXPECT_EQ(tryParseInteger("$ff"), 255);
    EXPECT_EQ(tryParseInteger("0x10"), 16);
    EXPECT_EQ(tryParseInteger("0X1a"), 26);
    EXPECT_EQ(tryParseInteger("-$10"), -16);
    EXPECT_EQ(tryParseInteger(" 0xFFFFFF"), 16777215);
}

TEST(IntegerConversion, RangeEdgesOfSigned32Bit)
{
    EXPECT_EQ(tryParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(tryParseInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(tryParseInteger("$7FFFFFFF"), INT32_MAX);
    EXPECT_EQ(tryParseInteger("-$80000000"), INT32_MIN);
    EXPECT_FALSE(tryParseInteger("2147483648"));
    EXPECT_FALSE(tryParseInteger("-2147483649"));
    EXPECT_FALSE(tryParseInteger("$80000000"));
    EXPECT_FALSE(tryParseInteger("99999999999999999999999"));
}

TEST(IntegerConversion, RefusesEverythingElse)
{
    for (const char* text : {"", " ", "-", "+", "$", "0x", "12 ", "1 2", "1.5", "abc", "12a",
                             "\t12", "--1", "+-1", "$G", "0x1g", "zhizhen_left", "1e3"})
        EXPECT_FALSE(tryParseInteger(text)) << '"' << text << '"';
}

TEST(IntegerConversion, RefusalCarriesTheTextInTheMessage)
{
    try {
        parseInteger("zhizhen_left");
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("'zhizhen_left' is not a valid integer value"));
    }
    // GBK text is shown as the characters it holds.
    try {
        parseInteger("\xCA\xFD");
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("'数' is not a valid integer value"));
    }
}

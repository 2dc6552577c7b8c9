// FormatCount and FormatPercent under chosen regional settings: grouping, separators,
// decimals, negative orders, a setting changed between two calls, and the plain digits
// shown when the system cannot format a number.
#include "counting/NumberFormat.hpp"

#include "Win/LocaleSettings.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace {

class NumberFormat : public testing::Test {
protected:
	void SetUp() override
	{
		saved = Win::UserLocaleSettings();
		Use(Win::LocaleSettings {});
	}
	void TearDown() override { Win::SetUserLocaleSettings(saved); }

	static void Use(const Win::LocaleSettings& settings) { ASSERT_TRUE(Win::SetUserLocaleSettings(settings)); }

	static void UseGrouping(const char* grouping)
	{
		Win::LocaleSettings settings;
		settings.grouping = grouping;
		Use(settings);
	}

	static std::string Count(std::uint32_t value) { return FormatCount(value).ToStd(); }
	static std::string Percent(double value) { return FormatPercent(value).ToStd(); }

	Win::LocaleSettings saved;
};

class FormatCountTest : public NumberFormat {};

TEST_F(FormatCountTest, GroupsThousandsWithTheGroupingThreeZero)
{
	UseGrouping("3;0");
	EXPECT_EQ(Count(1234567), "1,234,567");
	EXPECT_EQ(Count(999), "999");
	EXPECT_EQ(Count(1000), "1,000");
	EXPECT_EQ(Count(std::numeric_limits<std::uint32_t>::max()), "4,294,967,295");
}

TEST_F(FormatCountTest, GroupsThreeThenTwosWithTheGroupingThreeTwoZero)
{
	UseGrouping("3;2;0");
	EXPECT_EQ(Count(123456789), "12,34,56,789");
	EXPECT_EQ(Count(12345), "12,345");
}

TEST_F(FormatCountTest, TakesShortGroupingTextsByTheirFirstSizeAndLongOnesAsThreeThenTwos)
{
	struct Case {
		const char* grouping;
		const char* expected;
	};
	for (const Case& testCase : {
			 Case {"0", "123456789"},
			 Case {"3", "123,456,789"},
			 Case {"3;2", "123,456,789"},
			 Case {"2;0", "1,23,45,67,89"},
			 Case {"3;2;1;0", "12,34,56,789"},
			 Case {"4;3;0", "12,34,56,789"},
		 }) {
		SCOPED_TRACE(testCase.grouping);
		UseGrouping(testCase.grouping);
		EXPECT_EQ(Count(123456789), testCase.expected);
	}
}

TEST_F(FormatCountTest, WritesZeroWithoutDecimals)
{
	Win::LocaleSettings settings;
	settings.decimals = 3;
	Use(settings);
	EXPECT_EQ(Count(0), "0");
	settings.leadingZero = 0;
	Use(settings);
	EXPECT_EQ(Count(0), "0");
	EXPECT_EQ(Count(7), "7");
}

TEST_F(FormatCountTest, UsesTheUsersThousandSeparatorAndNeverASign)
{
	Win::LocaleSettings settings;
	settings.decimalSeparator = ",";
	settings.thousandSeparator = ".";
	settings.negativeOrder = 0;
	Use(settings);
	EXPECT_EQ(Count(1234567), "1.234.567");
	EXPECT_EQ(Count(0xFFFFFFFFu), "4.294.967.295");
	settings.thousandSeparator = "\xE2\x80\xAF";
	Use(settings);
	EXPECT_EQ(Count(1234567), "1\xE2\x80\xAF" "234\xE2\x80\xAF" "567");
}

TEST_F(FormatCountTest, SeesAChangedSettingAtTheNextCall)
{
	EXPECT_EQ(Count(1234567), "1,234,567");
	Win::LocaleSettings settings;
	settings.thousandSeparator = " ";
	Use(settings);
	EXPECT_EQ(Count(1234567), "1 234 567");
	UseGrouping("3;2;0");
	EXPECT_EQ(Count(1234567), "12,34,567");
	UseGrouping("0");
	EXPECT_EQ(Count(1234567), "1234567");
}

class FormatPercentTest : public NumberFormat {};

TEST_F(FormatPercentTest, WritesTheUsersDecimalsAndAPercentSign)
{
	EXPECT_EQ(Percent(12.5), "12.50%");
	EXPECT_EQ(Percent(0.0), "0.00%");
	EXPECT_EQ(Percent(100.0), "100.00%");
	EXPECT_EQ(Percent(1234.5), "1,234.50%");
}

TEST_F(FormatPercentTest, RoundsToTheUsersDecimals)
{
	EXPECT_EQ(Percent(0.005), "0.01%");
	EXPECT_EQ(Percent(0.004), "0.00%");
	EXPECT_EQ(Percent(99.999), "100.00%");
	EXPECT_EQ(Percent(33.333333333), "33.33%");
	EXPECT_EQ(Percent(66.666666666), "66.67%");
	Win::LocaleSettings settings;
	settings.decimals = 0;
	Use(settings);
	EXPECT_EQ(Percent(12.5), "13%");
	EXPECT_EQ(Percent(12.4999), "12%");
}

TEST_F(FormatPercentTest, UsesTheUsersSeparatorsAndLeadingZero)
{
	Win::LocaleSettings settings;
	settings.decimalSeparator = ",";
	settings.thousandSeparator = ".";
	settings.decimals = 1;
	settings.leadingZero = 0;
	Use(settings);
	EXPECT_EQ(Percent(12.5), "12,5%");
	EXPECT_EQ(Percent(0.25), ",3%");
	EXPECT_EQ(Percent(2500.0), "2.500,0%");
}

TEST_F(FormatPercentTest, WritesNegativeValuesInTheUsersOrder)
{
	const char* expected[] = {"(12.50)%", "-12.50%", "- 12.50%", "12.50-%", "12.50 -%"};
	for (unsigned order = 0; order <= 4; ++order) {
		SCOPED_TRACE(order);
		Win::LocaleSettings settings;
		settings.negativeOrder = order;
		Use(settings);
		EXPECT_EQ(Percent(-12.5), expected[order]);
	}
}

TEST_F(FormatPercentTest, SeesAChangedSettingAtTheNextCall)
{
	EXPECT_EQ(Percent(12.5), "12.50%");
	Win::LocaleSettings settings;
	settings.decimals = 3;
	Use(settings);
	EXPECT_EQ(Percent(12.5), "12.500%");
}

TEST_F(FormatPercentTest, ShowsPlainDigitsWhenTheSystemCannotFormatTheValue)
{
	EXPECT_EQ(Percent(std::numeric_limits<double>::quiet_NaN()), "nan%");
	EXPECT_EQ(Percent(std::numeric_limits<double>::infinity()), "inf%");

	// Fits the digit buffer, but grouped it no longer fits the result buffer.
	char digits[512];
	std::snprintf(digits, sizeof digits, "%f", 1e240);
	EXPECT_EQ(Percent(1e240), std::string(digits) + "%");

	// Does not even fit the digit buffer: still every digit, and no buffer overrun.
	std::snprintf(digits, sizeof digits, "%f", 1e300);
	EXPECT_EQ(Percent(1e300), std::string(digits) + "%");
	std::snprintf(digits, sizeof digits, "%f", -std::numeric_limits<double>::max());
	EXPECT_EQ(Percent(-std::numeric_limits<double>::max()), std::string(digits) + "%");
}

TEST_F(FormatPercentTest, LeavesTheCountsBufferUsableAfterALongPercent)
{
	Percent(1e300);
	EXPECT_EQ(Count(1234567), "1,234,567");
	EXPECT_EQ(Percent(12.5), "12.50%");
}

} // namespace

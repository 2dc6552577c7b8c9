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

// The settings of a row: the defaults but for what the row names.
struct Settings {
	Settings(const char* groupSizes = "3;0", const char* decimalMark = ".", const char* thousandsMark = ",",
		unsigned digits = 2, unsigned zeroFirst = 1, unsigned negative = 1)
		: grouping(groupSizes), decimalSeparator(decimalMark), thousandSeparator(thousandsMark), decimals(digits),
		  leadingZero(zeroFirst), negativeOrder(negative)
	{
	}
	const char* grouping;
	const char* decimalSeparator;
	const char* thousandSeparator;
	unsigned decimals;
	unsigned leadingZero;
	unsigned negativeOrder;
};

class NumberFormat : public testing::Test {
protected:
	void SetUp() override { saved = Win::UserLocaleSettings(); }
	void TearDown() override { Win::SetUserLocaleSettings(saved); }

	static void Use(const Settings& chosen)
	{
		Win::LocaleSettings settings;
		settings.grouping = chosen.grouping;
		settings.decimalSeparator = chosen.decimalSeparator;
		settings.thousandSeparator = chosen.thousandSeparator;
		settings.decimals = chosen.decimals;
		settings.leadingZero = chosen.leadingZero;
		settings.negativeOrder = chosen.negativeOrder;
		ASSERT_TRUE(Win::SetUserLocaleSettings(settings));
	}

	static std::string Count(std::uint32_t value) { return FormatCount(value).ToStd(); }
	static std::string Percent(double value) { return FormatPercent(value).ToStd(); }

	Win::LocaleSettings saved;
};

TEST_F(NumberFormat, CountsAreGroupedWithTheUsersSeparatorAndNoDecimals)
{
	const std::string narrowSpace = "\xE2\x80\xAF";
	const struct {
		Settings settings;
		std::uint32_t value;
		std::string shown;
	} cases[] = {
		{{}, 1234567, "1,234,567"},
		{{}, 999, "999"},
		{{}, 1000, "1,000"},
		{{}, std::numeric_limits<std::uint32_t>::max(), "4,294,967,295"},
		{{"3;2;0"}, 123456789, "12,34,56,789"},
		{{"3;2;0"}, 12345, "12,345"},
		// Short grouping texts by their first size, long ones as three then twos.
		{{"0"}, 123456789, "123456789"},
		{{"3"}, 123456789, "123,456,789"},
		{{"3;2"}, 123456789, "123,456,789"},
		{{"2;0"}, 123456789, "1,23,45,67,89"},
		{{"3;2;1;0"}, 123456789, "12,34,56,789"},
		{{"4;3;0"}, 123456789, "12,34,56,789"},
		{{"3;0", ".", ",", 3}, 0, "0"},
		{{"3;0", ".", ",", 3, 0}, 7, "7"},
		{{"3;0", ",", ".", 2, 1, 0}, 0xFFFFFFFFu, "4.294.967.295"},
		{{"3;0", ".", narrowSpace.c_str()}, 1234567, "1" + narrowSpace + "234" + narrowSpace + "567"},
	};
	for (const auto& row : cases) {
		Use(row.settings);
		EXPECT_EQ(Count(row.value), row.shown) << row.settings.grouping << " " << row.value;
	}
}

TEST_F(NumberFormat, PercentsFollowTheUsersDecimalsSeparatorsAndNegativeOrder)
{
	const struct {
		Settings settings;
		double value;
		const char* shown;
	} cases[] = {
		{{}, 12.5, "12.50%"},
		{{}, 0.0, "0.00%"},
		{{}, 100.0, "100.00%"},
		{{}, 1234.5, "1,234.50%"},
		{{}, 0.005, "0.01%"},
		{{}, 0.004, "0.00%"},
		{{}, 99.999, "100.00%"},
		{{}, 33.333333333, "33.33%"},
		{{}, 66.666666666, "66.67%"},
		{{"3;0", ".", ",", 0}, 12.5, "13%"},
		{{"3;0", ".", ",", 0}, 12.4999, "12%"},
		{{"3;0", ",", ".", 1, 0}, 12.5, "12,5%"},
		{{"3;0", ",", ".", 1, 0}, 0.25, ",3%"},
		{{"3;0", ",", ".", 1, 0}, 2500.0, "2.500,0%"},
		{{"3;0", ".", ",", 2, 1, 0}, -12.5, "(12.50)%"},
		{{"3;0", ".", ",", 2, 1, 1}, -12.5, "-12.50%"},
		{{"3;0", ".", ",", 2, 1, 2}, -12.5, "- 12.50%"},
		{{"3;0", ".", ",", 2, 1, 3}, -12.5, "12.50-%"},
		{{"3;0", ".", ",", 2, 1, 4}, -12.5, "12.50 -%"},
	};
	for (const auto& row : cases) {
		Use(row.settings);
		EXPECT_EQ(Percent(row.value), row.shown) << row.value;
	}
}

TEST_F(NumberFormat, SeesAChangedSettingAtTheNextCall)
{
	Use({});
	EXPECT_EQ(Count(1234567), "1,234,567");
	EXPECT_EQ(Percent(12.5), "12.50%");
	Use({"3;0", ".", " ", 3});
	EXPECT_EQ(Count(1234567), "1 234 567");
	EXPECT_EQ(Percent(12.5), "12.500%");
	Use({"0"});
	EXPECT_EQ(Count(1234567), "1234567");
}

TEST_F(NumberFormat, ShowsPlainDigitsWhenTheSystemCannotFormatTheValue)
{
	Use({});
	EXPECT_EQ(Percent(std::numeric_limits<double>::quiet_NaN()), "nan%");
	EXPECT_EQ(Percent(std::numeric_limits<double>::infinity()), "inf%");
	// 1e240 fits the digit buffer but grouped no longer the result; 1e300 does not even fit
	// the digit buffer: still every digit, and no buffer overrun.
	for (const double value : {1e240, 1e300, -std::numeric_limits<double>::max()}) {
		char digits[512];
		std::snprintf(digits, sizeof digits, "%f", value);
		EXPECT_EQ(Percent(value), std::string(digits) + "%");
	}
	EXPECT_EQ(Count(1234567), "1,234,567") << "the buffers stay usable after a long percent";
	EXPECT_EQ(Percent(12.5), "12.50%");
}

} // namespace

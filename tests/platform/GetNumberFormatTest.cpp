// GetNumberFormatA, with a caller's record and with the locale's own settings: grouping
// codes, negative orders, leading zero, rounding, separators, return values, buffer sizes
// and the input it refuses.
#include "Win/Locale.hpp"
#include "Win/LocaleSettings.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

namespace {

struct Record {
	UINT digits = 2;
	UINT leadingZero = 1;
	UINT grouping = 3;
	std::string decimal = ".";
	std::string thousand = ",";
	UINT negativeOrder = 1;
};

// The formatted text, or nothing (with the last error kept for the caller) on failure.
std::optional<std::string> FormatWith(const char* value, Record record)
{
	NUMBERFMTA format { record.digits, record.leadingZero, record.grouping, record.decimal.data(),
		record.thousand.data(), record.negativeOrder };
	char buffer[128];
	const int written = GetNumberFormatA(LOCALE_USER_DEFAULT, 0, value, &format, buffer, sizeof buffer);
	if (written == 0)
		return std::nullopt;
	EXPECT_EQ(written, static_cast<int>(std::strlen(buffer)) + 1) << "the answer counts the characters and the NUL";
	return std::string(buffer);
}

std::optional<std::string> FormatWithSettings(const char* value, LCID locale = LOCALE_USER_DEFAULT, DWORD flags = 0)
{
	char buffer[128];
	if (GetNumberFormatA(locale, flags, value, nullptr, buffer, sizeof buffer) == 0)
		return std::nullopt;
	return std::string(buffer);
}

struct RecordCase {
	const char* value;
	Record record;
	const char* expected;
};

void ExpectAll(const std::initializer_list<RecordCase>& cases)
{
	for (const RecordCase& testCase : cases) {
		SCOPED_TRACE(std::string("value ") + testCase.value);
		EXPECT_EQ(FormatWith(testCase.value, testCase.record), std::string(testCase.expected));
	}
}

Record Grouped(UINT code)
{
	Record record;
	record.digits = 0;
	record.grouping = code;
	return record;
}

Record Negative(UINT order)
{
	Record record;
	record.negativeOrder = order;
	return record;
}

Record Decimals(UINT digits, UINT leadingZero = 1)
{
	Record record;
	record.digits = digits;
	record.leadingZero = leadingZero;
	return record;
}

Record Separators(const char* decimal, const char* thousand)
{
	Record record;
	record.decimal = decimal;
	record.thousand = thousand;
	return record;
}

class GetNumberFormatWithRecord : public testing::Test {};

TEST_F(GetNumberFormatWithRecord, GroupsDigitsByTheGroupingCode)
{
	ExpectAll({
		{"1234567", Grouped(0), "1234567"},
		{"1234567", Grouped(3), "1,234,567"},
		{"123", Grouped(3), "123"},
		{"1234", Grouped(3), "1,234"},
		{"-353", Grouped(3), "-353"},
		{"123456789", Grouped(32), "12,34,56,789"},
		{"12345678901", Grouped(32), "12,34,56,78,901"},
		{"1234", Grouped(32), "1,234"},
		{"123456", Grouped(33), "123,456"},
		{"1234567", Grouped(30), "1234,567"},
		{"1234567890", Grouped(320), "12345,67,890"},
		{"1234567", Grouped(302), "1234,567"},
		{"123456789", Grouped(2), "1,23,45,67,89"},
		{"1234", Grouped(1), "1,2,3,4"},
		{"1234567890", Grouped(9), "1,234567890"},
		{"1234567890", Grouped(123), "1,234,567,89,0"},
	});
}

TEST_F(GetNumberFormatWithRecord, WritesNegativeNumbersInEachOrder)
{
	ExpectAll({
		{"-1234.5", Negative(0), "(1,234.50)"},
		{"-1234.5", Negative(1), "-1,234.50"},
		{"-1234.5", Negative(2), "- 1,234.50"},
		{"-1234.5", Negative(3), "1,234.50-"},
		{"-1234.5", Negative(4), "1,234.50 -"},
		{"1234.5", Negative(0), "1,234.50"},
		{"1234.5", Negative(4), "1,234.50"},
	});
}

TEST_F(GetNumberFormatWithRecord, WritesALeadingZeroOnlyWhenAsked)
{
	ExpectAll({
		{".5", Decimals(1, 1), "0.5"},
		{".5", Decimals(1, 0), ".5"},
		{"0.25", Decimals(2, 0), ".25"},
		{"-0.5", Decimals(2, 0), "-.50"},
		{"-.5", Decimals(2, 1), "-0.50"},
		{"0", Decimals(2, 0), ".00"},
		{"0", Decimals(0, 0), "0"},
		{"1.5", Decimals(1, 0), "1.5"},
		{"000123", Decimals(0, 0), "123"},
		{"-0007.5", Decimals(1, 0), "-7.5"},
	});
}

TEST_F(GetNumberFormatWithRecord, RoundsHalfAwayFromZeroToTheNumberOfDecimals)
{
	ExpectAll({
		{"2353.111", Decimals(2), "2,353.11"},
		{"2353.119", Decimals(2), "2,353.12"},
		{"2353.115", Decimals(2), "2,353.12"},
		{"-2353.115", Decimals(2), "-2,353.12"},
		{"0.005", Decimals(2), "0.01"},
		{"0.004999", Decimals(2), "0.00"},
		{"9.995", Decimals(2), "10.00"},
		{"999999.5", Decimals(0), "1,000,000"},
		{"999999.4", Decimals(0), "999,999"},
		{"0.99999", Decimals(4), "1.0000"},
		{".9", Decimals(0, 0), "1"},
		{"12.5", Decimals(2), "12.50"},
		{"12", Decimals(3), "12.000"},
		{"5.", Decimals(2), "5.00"},
		{"3.14159265358979", Decimals(9), "3.141592654"},
		// A value that rounds to zero is no longer negative.
		{"-0.001", Decimals(2), "0.00"},
		{"-0", Decimals(0), "0"},
	});
}

TEST_F(GetNumberFormatWithRecord, UsesSeparatorsOfUpToThreeCharacters)
{
	ExpectAll({
		{"1234567.891", Separators(",", "."), "1.234.567,89"},
		{"1234567.891", Separators(",,,", "_._"), "1_._234_._567,,,89"},
		{"1234567.891", Separators(".", ""), "1234567.89"},
		{"1234567.891", Separators(".", "\xE2\x80\xAF"), "1\xE2\x80\xAF" "234\xE2\x80\xAF" "567.89"},
		{"-1.5", Separators("", " "), "-150"},
	});
}

TEST_F(GetNumberFormatWithRecord, RefusesAnInvalidRecord)
{
	Record tooManyDecimals = Decimals(10);
	Record leadingZeroTwo = Decimals(2, 2);
	Record orderFive = Negative(5);
	Record longDecimal = Separators("....", ",");
	Record longThousand = Separators(".", ",,,,");
	for (const Record& record : {tooManyDecimals, leadingZeroTwo, orderFive, longDecimal, longThousand}) {
		SetLastError(0);
		EXPECT_EQ(FormatWith("1", record), std::nullopt);
		EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
	}

	char buffer[32] = "untouched";
	char dot[] = ".";
	NUMBERFMTA noDecimalSeparator { 2, 1, 3, nullptr, dot, 1 };
	NUMBERFMTA noThousandSeparator { 2, 1, 3, dot, nullptr, 1 };
	for (const NUMBERFMTA& format : {noDecimalSeparator, noThousandSeparator}) {
		SetLastError(0);
		EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1", &format, buffer, sizeof buffer), 0);
		EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
		EXPECT_STREQ(buffer, "untouched");
	}
}

TEST_F(GetNumberFormatWithRecord, RefusesFlagsBesideARecord)
{
	char dot[] = ".";
	char comma[] = ",";
	const NUMBERFMTA format { 2, 1, 3, dot, comma, 1 };
	char buffer[32];
	SetLastError(0);
	EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, "1", &format, buffer, sizeof buffer), 0);
	EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

class GetNumberFormatInput : public testing::Test {};

TEST_F(GetNumberFormatInput, RefusesAnythingButDigitsOnePointAndALeadingMinus)
{
	for (const char* value : {"", "-", ".", "-.", "1.2.3", "+1", " 1", "1 ", "1e5", "--1", "1-", "12a", "0x10",
			 "1,234", "\xE2\x88\x92" "1", "nan", "inf"}) {
		SCOPED_TRACE(std::string("value \"") + value + "\"");
		char buffer[32] = "untouched";
		SetLastError(0);
		EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, value, nullptr, buffer, sizeof buffer), 0);
		EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
		EXPECT_STREQ(buffer, "untouched");
	}
}

TEST_F(GetNumberFormatInput, RefusesMissingTextsNegativeSizesAndUnknownLocalesAndFlags)
{
	char buffer[32];
	struct Call {
		const char* what;
		LCID locale;
		DWORD flags;
		const char* value;
		char* output;
		int size;
		DWORD error;
	};
	for (const Call& call : {
			 Call {"no value", LOCALE_USER_DEFAULT, 0, nullptr, buffer, 32, ERROR_INVALID_PARAMETER},
			 Call {"negative size", LOCALE_USER_DEFAULT, 0, "1", buffer, -1, ERROR_INVALID_PARAMETER},
			 Call {"no buffer", LOCALE_USER_DEFAULT, 0, "1", nullptr, 32, ERROR_INVALID_PARAMETER},
			 Call {"unknown locale", 0x0409, 0, "1", buffer, 32, ERROR_INVALID_PARAMETER},
			 Call {"unknown flag", LOCALE_USER_DEFAULT, 0x1, "1", buffer, 32, ERROR_INVALID_FLAGS},
			 Call {"number flag", LOCALE_USER_DEFAULT, LOCALE_RETURN_NUMBER, "1", buffer, 32, ERROR_INVALID_FLAGS},
		 }) {
		SCOPED_TRACE(call.what);
		SetLastError(0);
		EXPECT_EQ(GetNumberFormatA(call.locale, call.flags, call.value, nullptr, call.output, call.size), 0);
		EXPECT_EQ(GetLastError(), call.error);
	}
}

class GetNumberFormatBuffer : public testing::Test {};

TEST_F(GetNumberFormatBuffer, AnswersTheSizeNeededForASizeOfZeroAndLeavesTheBufferAlone)
{
	char dot[] = ".";
	char comma[] = ",";
	const NUMBERFMTA format { 2, 1, 3, dot, comma, 1 };
	char buffer[32] = "untouched";
	EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1234567", &format, buffer, 0), 13); // 1,234,567.00
	EXPECT_STREQ(buffer, "untouched");
	EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1234567", &format, nullptr, 0), 13);
}

TEST_F(GetNumberFormatBuffer, FillsABufferOfExactlyTheSizeNeeded)
{
	char dot[] = ".";
	char comma[] = ",";
	const NUMBERFMTA format { 2, 1, 3, dot, comma, 1 };
	char buffer[14];
	std::memset(buffer, 'x', sizeof buffer);
	EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1234567", &format, buffer, 13), 13);
	EXPECT_STREQ(buffer, "1,234,567.00");
	EXPECT_EQ(buffer[13], 'x') << "nothing is written past the size given";
}

TEST_F(GetNumberFormatBuffer, RefusesTooSmallABufferAndLeavesItAlone)
{
	char dot[] = ".";
	char comma[] = ",";
	const NUMBERFMTA format { 2, 1, 3, dot, comma, 1 };
	char buffer[32] = "untouched";
	SetLastError(0);
	EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1234567", &format, buffer, 12), 0);
	EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
	EXPECT_STREQ(buffer, "untouched");
}

// Without a record the locale's own settings apply; each test chooses the user's.
class GetNumberFormatWithSettings : public testing::Test {
protected:
	void SetUp() override { saved = Win::UserLocaleSettings(); }
	void TearDown() override { Win::SetUserLocaleSettings(saved); }

	static void Use(const Win::LocaleSettings& settings) { ASSERT_TRUE(Win::SetUserLocaleSettings(settings)); }

	Win::LocaleSettings saved;
};

TEST_F(GetNumberFormatWithSettings, FollowsTheUsersSettings)
{
	Win::LocaleSettings german;
	german.decimalSeparator = ",";
	german.thousandSeparator = ".";
	Use(german);
	EXPECT_EQ(FormatWithSettings("1234567.891"), "1.234.567,89");

	Win::LocaleSettings settings;
	settings.decimals = 0;
	settings.negativeOrder = 0;
	Use(settings);
	EXPECT_EQ(FormatWithSettings("-1234.5"), "(1,235)");

	settings = {};
	settings.decimals = 3;
	settings.leadingZero = 0;
	Use(settings);
	EXPECT_EQ(FormatWithSettings("0.25"), ".250");
}

TEST_F(GetNumberFormatWithSettings, ReadsTheGroupingText)
{
	struct Case {
		const char* grouping;
		const char* expected;
	};
	for (const Case& testCase : {
			 Case {"3;0", "1,234,567,890.00"},
			 Case {"3;2;0", "1,23,45,67,890.00"},
			 Case {"3", "1234567,890.00"},
			 Case {"3;2", "12345,67,890.00"},
			 Case {"0", "1234567890.00"},
			 Case {"2;0", "12,34,56,78,90.00"},
		 }) {
		SCOPED_TRACE(testCase.grouping);
		Win::LocaleSettings settings;
		settings.grouping = testCase.grouping;
		Use(settings);
		EXPECT_EQ(FormatWithSettings("1234567890"), testCase.expected);
	}
}

TEST_F(GetNumberFormatWithSettings, OtherLocalesIgnoreTheUsersChanges)
{
	Win::LocaleSettings settings;
	settings.decimalSeparator = "#";
	settings.grouping = "0";
	Use(settings);
	EXPECT_EQ(FormatWithSettings("1234567.891", LOCALE_INVARIANT), "1,234,567.89");

	Use(Win::EnvironmentLocaleSettings());
	const std::optional<std::string> environment = FormatWithSettings("1234567.891");
	ASSERT_TRUE(environment.has_value());
	Use(settings);
	EXPECT_EQ(FormatWithSettings("1234567.891"), "1234567#89");
	EXPECT_EQ(FormatWithSettings("1234567.891", LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE), environment);
	EXPECT_EQ(FormatWithSettings("1234567.891", LOCALE_SYSTEM_DEFAULT), environment);
}

} // namespace

// GetNumberFormatA, with a caller's record and with the locale's own settings: grouping
// codes, negative orders, leading zero, rounding, separators, buffer sizes and the input it
// refuses.
#include "Win/Locale.hpp"
#include "Win/LocaleSettings.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

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
	NUMBERFMTA format {record.digits, record.leadingZero, record.grouping, record.decimal.data(),
		record.thousand.data(), record.negativeOrder};
	char buffer[128] = "untouched";
	const int written = GetNumberFormatA(LOCALE_USER_DEFAULT, 0, value, &format, buffer, sizeof buffer);
	if (written == 0) {
		EXPECT_STREQ(buffer, "untouched") << "a refused call writes nothing";
		return std::nullopt;
	}
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

Record Grouped(UINT code)
{
	return {.digits = 0, .grouping = code};
}
Record Negative(UINT order)
{
	return {.negativeOrder = order};
}
Record Decimals(UINT digits, UINT leadingZero = 1)
{
	return {.digits = digits, .leadingZero = leadingZero};
}
Record Separators(const char* decimal, const char* thousand)
{
	return {.decimal = decimal, .thousand = thousand};
}

TEST(GetNumberFormatWithRecord, FormatsEachCase)
{
	const struct {
		const char* value;
		Record record;
		std::optional<std::string> expected;
	} cases[] = {
		{"1234567", Grouped(0), "1234567"},
		{"1234567", Grouped(3), "1,234,567"},
		{"123", Grouped(3), "123"},
		{"-353", Grouped(3), "-353"},
		{"123456789", Grouped(32), "12,34,56,789"},
		{"1234", Grouped(32), "1,234"},
		{"123456", Grouped(33), "123,456"},
		{"1234567", Grouped(30), "1234,567"},
		{"1234567890", Grouped(320), "12345,67,890"},
		{"1234567", Grouped(302), "1234,567"},
		{"123456789", Grouped(2), "1,23,45,67,89"},
		{"1234567890", Grouped(9), "1,234567890"},
		{"1234567890", Grouped(123), "1,234,567,89,0"},
		{"-1234.5", Negative(0), "(1,234.50)"},
		{"-1234.5", Negative(1), "-1,234.50"},
		{"-1234.5", Negative(2), "- 1,234.50"},
		{"-1234.5", Negative(3), "1,234.50-"},
		{"-1234.5", Negative(4), "1,234.50 -"},
		{"1234.5", Negative(0), "1,234.50"},
		{".5", Decimals(1, 1), "0.5"},
		{".5", Decimals(1, 0), ".5"},
		{"-0.5", Decimals(2, 0), "-.50"},
		{"-.5", Decimals(2, 1), "-0.50"},
		{"0", Decimals(2, 0), ".00"},
		{"0", Decimals(0, 0), "0"},
		{"-0007.5", Decimals(1, 0), "-7.5"},
		// Rounding is half away from zero.
		{"2353.111", Decimals(2), "2,353.11"},
		{"2353.115", Decimals(2), "2,353.12"},
		{"-2353.115", Decimals(2), "-2,353.12"},
		{"0.004999", Decimals(2), "0.00"},
		{"9.995", Decimals(2), "10.00"},
		{"999999.5", Decimals(0), "1,000,000"},
		{".9", Decimals(0, 0), "1"},
		{"12", Decimals(3), "12.000"},
		{"5.", Decimals(2), "5.00"},
		{"3.14159265358979", Decimals(9), "3.141592654"},
		// A value that rounds to zero is no longer negative.
		{"-0.001", Decimals(2), "0.00"},
		{"-0", Decimals(0), "0"},
		{"1234567.891", Separators(",", "."), "1.234.567,89"},
		{"1234567.891", Separators(",,,", "_._"), "1_._234_._567,,,89"},
		{"1234567.891", Separators(".", ""), "1234567.89"},
		{"1234567.891", Separators(".", "\xE2\x80\xAF"),
			"1\xE2\x80\xAF"
			"234\xE2\x80\xAF"
			"567.89"},
		{"-1.5", Separators("", " "), "-150"},
		// Records it refuses.
		{"1", Decimals(10), std::nullopt},
		{"1", Decimals(2, 2), std::nullopt},
		{"1", Negative(5), std::nullopt},
		{"1", Separators("....", ","), std::nullopt},
		{"1", Separators(".", ",,,,"), std::nullopt},
	};
	for (const auto& testCase : cases) {
		SCOPED_TRACE(std::string("value ") + testCase.value + " expected " + testCase.expected.value_or("refusal"));
		SetLastError(0);
		EXPECT_EQ(FormatWith(testCase.value, testCase.record), testCase.expected);
		EXPECT_EQ(GetLastError(), testCase.expected ? 0u : ERROR_INVALID_PARAMETER);
	}
}

TEST(GetNumberFormatInput, RefusesBadCallsAndLeavesTheBufferAlone)
{
	char dot[] = ".";
	char buffer[32] = "untouched";
	const NUMBERFMTA noDecimalSeparator {2, 1, 3, nullptr, dot, 1};
	const NUMBERFMTA noThousandSeparator {2, 1, 3, dot, nullptr, 1};
	const NUMBERFMTA valid {2, 1, 3, dot, dot, 1};
	struct Call {
		std::string what;
		LCID locale;
		DWORD flags;
		const char* value;
		const NUMBERFMTA* format;
		char* output;
		int size;
		DWORD error;
	};
	std::vector<Call> calls {
		{"no decimal separator", LOCALE_USER_DEFAULT, 0, "1", &noDecimalSeparator, buffer, 32, ERROR_INVALID_PARAMETER},
		{"no thousand separator", LOCALE_USER_DEFAULT, 0, "1", &noThousandSeparator, buffer, 32,
			ERROR_INVALID_PARAMETER},
		{"flags beside a record", LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, "1", &valid, buffer, 32,
			ERROR_INVALID_FLAGS},
		{"no value", LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, 32, ERROR_INVALID_PARAMETER},
		{"negative size", LOCALE_USER_DEFAULT, 0, "1", nullptr, buffer, -1, ERROR_INVALID_PARAMETER},
		{"no buffer", LOCALE_USER_DEFAULT, 0, "1", nullptr, nullptr, 32, ERROR_INVALID_PARAMETER},
		{"unknown locale", 0x0409, 0, "1", nullptr, buffer, 32, ERROR_INVALID_PARAMETER},
		{"unknown flag", LOCALE_USER_DEFAULT, 0x1, "1", nullptr, buffer, 32, ERROR_INVALID_FLAGS},
		{"number flag", LOCALE_USER_DEFAULT, LOCALE_RETURN_NUMBER, "1", nullptr, buffer, 32, ERROR_INVALID_FLAGS},
		{"too small a buffer", LOCALE_USER_DEFAULT, 0, "1234567", &valid, buffer, 12, ERROR_INSUFFICIENT_BUFFER},
	};
	// Only digits, one point and a leading minus make a number.
	for (const char* value : {"", "-", ".", "-.", "1.2.3", "+1", " 1", "1 ", "1e5", "--1", "1-", "12a", "0x10", "1,234",
			 "\xE2\x88\x92"
			 "1",
			 "nan", "inf"})
		calls.push_back({std::string("value \"") + value + "\"", LOCALE_USER_DEFAULT, 0, value, nullptr, buffer, 32,
			ERROR_INVALID_PARAMETER});
	for (const Call& call : calls) {
		SCOPED_TRACE(call.what);
		SetLastError(0);
		EXPECT_EQ(GetNumberFormatA(call.locale, call.flags, call.value, call.format, call.output, call.size), 0);
		EXPECT_EQ(GetLastError(), call.error);
		EXPECT_STREQ(buffer, "untouched");
	}
}

TEST(GetNumberFormatBuffer, AnswersTheSizeNeededAndFillsAnExactBufferOnly)
{
	char dot[] = ".";
	char comma[] = ",";
	const NUMBERFMTA format {2, 1, 3, dot, comma, 1};
	char buffer[14];
	std::memset(buffer, 'x', sizeof buffer);
	EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1234567", &format, buffer, 0), 13); // 1,234,567.00
	EXPECT_EQ(buffer[0], 'x');
	EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1234567", &format, nullptr, 0), 13);
	EXPECT_EQ(GetNumberFormatA(LOCALE_USER_DEFAULT, 0, "1234567", &format, buffer, 13), 13);
	EXPECT_STREQ(buffer, "1,234,567.00");
	EXPECT_EQ(buffer[13], 'x') << "nothing is written past the size given";
}

// Without a record the locale's own settings apply; each test chooses the user's.
class GetNumberFormatWithSettings : public testing::Test {
protected:
	void SetUp() override { saved = Win::UserLocaleSettings(); }
	void TearDown() override { Win::SetUserLocaleSettings(saved); }

	static void Use(const Win::LocaleSettings& settings) { ASSERT_TRUE(Win::SetUserLocaleSettings(settings)); }

	Win::LocaleSettings saved;
};

TEST_F(GetNumberFormatWithSettings, FollowsTheUsersSettingsAndGroupingText)
{
	const struct {
		Win::LocaleSettings settings;
		const char* value;
		const char* expected;
	} cases[] = {
		{{.decimalSeparator = ",", .thousandSeparator = "."}, "1234567.891", "1.234.567,89"},
		{{.decimals = 0, .negativeOrder = 0}, "-1234.5", "(1,235)"},
		{{.decimals = 3, .leadingZero = 0}, "0.25", ".250"},
		{{.grouping = "3;0"}, "1234567890", "1,234,567,890.00"},
		{{.grouping = "3;2;0"}, "1234567890", "1,23,45,67,890.00"},
		{{.grouping = "3"}, "1234567890", "1234567,890.00"},
		{{.grouping = "3;2"}, "1234567890", "12345,67,890.00"},
		{{.grouping = "0"}, "1234567890", "1234567890.00"},
		{{.grouping = "2;0"}, "1234567890", "12,34,56,78,90.00"},
	};
	for (const auto& testCase : cases) {
		SCOPED_TRACE(testCase.expected);
		Use(testCase.settings);
		EXPECT_EQ(FormatWithSettings(testCase.value), testCase.expected);
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

// GetLocaleInfoA for the regional number settings: the texts and numbers it answers, the
// locales and flags it knows, and its buffer-size rules.
#include "Win/Locale.hpp"
#include "Win/LocaleSettings.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class GetLocaleInfo : public testing::Test {
protected:
	void SetUp() override
	{
		saved = Win::UserLocaleSettings();
		user.decimalSeparator = ",";
		user.thousandSeparator = "'";
		user.grouping = "3;2;0";
		user.decimals = 3;
		user.leadingZero = 0;
		user.negativeOrder = 4;
		ASSERT_TRUE(Win::SetUserLocaleSettings(user));
	}
	void TearDown() override { Win::SetUserLocaleSettings(saved); }

	static std::string Read(LCTYPE setting, LCID locale = LOCALE_USER_DEFAULT)
	{
		char buffer[256] = "unread";
		const int written = GetLocaleInfoA(locale, setting, buffer, sizeof buffer);
		EXPECT_EQ(written, static_cast<int>(std::strlen(buffer)) + 1);
		return buffer;
	}

	Win::LocaleSettings saved;
	Win::LocaleSettings user;
};

TEST_F(GetLocaleInfo, AnswersTheUsersSettingsAsTexts)
{
	EXPECT_EQ(Read(LOCALE_SDECIMAL), ",");
	EXPECT_EQ(Read(LOCALE_STHOUSAND), "'");
	EXPECT_EQ(Read(LOCALE_SGROUPING), "3;2;0");
	EXPECT_EQ(Read(LOCALE_IDIGITS), "3");
	EXPECT_EQ(Read(LOCALE_ILZERO), "0");
	EXPECT_EQ(Read(LOCALE_INEGNUMBER), "4");
	EXPECT_EQ(Read(LOCALE_SDECIMAL, LOCALE_NEUTRAL), ",");
	user.thousandSeparator = "";
	ASSERT_TRUE(Win::SetUserLocaleSettings(user));
	char buffer[4] = "xyz";
	EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, sizeof buffer), 1);
	EXPECT_STREQ(buffer, "");
}

TEST_F(GetLocaleInfo, AnswersOtherLocalesWithoutTheUsersChanges)
{
	const Win::LocaleSettings environment = Win::EnvironmentLocaleSettings();
	EXPECT_EQ(Read(LOCALE_SDECIMAL | LOCALE_NOUSEROVERRIDE), environment.decimalSeparator);
	EXPECT_EQ(Read(LOCALE_SGROUPING | LOCALE_NOUSEROVERRIDE), environment.grouping);
	EXPECT_EQ(Read(LOCALE_SDECIMAL, LOCALE_SYSTEM_DEFAULT), environment.decimalSeparator);
	EXPECT_EQ(Read(LOCALE_SDECIMAL, LOCALE_INVARIANT), ".");
	EXPECT_EQ(Read(LOCALE_STHOUSAND, LOCALE_INVARIANT), ",");
	EXPECT_EQ(Read(LOCALE_SGROUPING, LOCALE_INVARIANT), "3;0");
	EXPECT_EQ(Read(LOCALE_IDIGITS, LOCALE_INVARIANT), "2");
	EXPECT_EQ(Read(LOCALE_ILZERO, LOCALE_INVARIANT), "1");
	EXPECT_EQ(Read(LOCALE_INEGNUMBER, LOCALE_INVARIANT), "1");
	EXPECT_EQ(Read(LOCALE_SDECIMAL | LOCALE_USE_CP_ACP), ",");
}

TEST_F(GetLocaleInfo, AnswersNumericSettingsAsNumbersOnRequest)
{
	for (LCTYPE setting : {LOCALE_IDIGITS, LOCALE_ILZERO, LOCALE_INEGNUMBER}) {
		SCOPED_TRACE(setting);
		DWORD number = 99;
		EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, setting | LOCALE_RETURN_NUMBER, reinterpret_cast<char*>(&number),
					  sizeof number),
			4);
		EXPECT_EQ(number, setting == LOCALE_IDIGITS ? 3u : setting == LOCALE_ILZERO ? 0u : 4u);
	}
	char buffer[8];
	SetLastError(0);
	EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL | LOCALE_RETURN_NUMBER, buffer, sizeof buffer), 0);
	EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

TEST_F(GetLocaleInfo, AnswersTheSizeNeededAndRefusesTooSmallABufferLeavingItAlone)
{
	char buffer[8] = "xyz";
	EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, buffer, 0), 6);
	EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, nullptr, 0), 6);
	EXPECT_STREQ(buffer, "xyz");
	SetLastError(0);
	EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, buffer, 5), 0);
	EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
	EXPECT_STREQ(buffer, "xyz");
	EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, buffer, 6), 6);
	EXPECT_STREQ(buffer, "3;2;0");
}

TEST_F(GetLocaleInfo, RefusesUnknownSettingsLocalesAndSizes)
{
	char buffer[8];
	struct Call {
		const char* what;
		LCID locale;
		LCTYPE setting;
		char* output;
		int size;
		DWORD error;
	};
	for (const Call& call : {
			 Call {"unknown setting", LOCALE_USER_DEFAULT, 0x0001, buffer, 8, ERROR_INVALID_FLAGS},
			 Call {"unknown flag", LOCALE_USER_DEFAULT, LOCALE_SDECIMAL | 0x01000000, buffer, 8, ERROR_INVALID_FLAGS},
			 Call {"unknown locale", 0x0407, LOCALE_SDECIMAL, buffer, 8, ERROR_INVALID_PARAMETER},
			 Call {"negative size", LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, -1, ERROR_INVALID_PARAMETER},
			 Call {"no buffer", LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 8, ERROR_INVALID_PARAMETER},
		 }) {
		SCOPED_TRACE(call.what);
		SetLastError(0);
		EXPECT_EQ(GetLocaleInfoA(call.locale, call.setting, call.output, call.size), 0);
		EXPECT_EQ(GetLastError(), call.error);
	}
}

} // namespace

// The user's regional settings: the defaults, settings made from a locale's numeric
// conventions, the checks a host's settings pass, and replacing and resetting them.
#include "Win/LocaleSettings.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>

// The C library's newlocale keeps its copy of LOCPATH, which the tests below set, for good:
// not a leak of ours, so the leak checker of the sanitizer build is told to pass it over.
extern "C" const char* __lsan_default_suppressions()
{
	return "leak:__argz_add_sep\n";
}

namespace {

Win::LocaleSettings Settings(std::string decimal, std::string thousand, std::string grouping)
{
	Win::LocaleSettings settings;
	settings.decimalSeparator = decimal;
	settings.thousandSeparator = thousand;
	settings.grouping = grouping;
	return settings;
}

class LocaleSettingsFromConventions : public testing::Test {};

TEST_F(LocaleSettingsFromConventions, TurnsTheGroupingBytesIntoTheShortestGroupingText)
{
	const char repeatThree[] = {3, 3, 0};
	const char threeThenTwo[] = {3, 2, 0};
	const char threeOnly[] = {3, CHAR_MAX, 0};
	const char threeTwoStop[] = {3, 2, CHAR_MAX, 0};
	const char tooLarge[] = {12, 0};
	const char sixSizes[] = {1, 2, 3, 4, 5, 6, 0};
	struct Case {
		const char* what;
		const char* bytes;
		const char* text;
	};
	for (const Case& testCase : {
			 Case {"thousands", repeatThree, "3;0"},
			 Case {"a single size", "\3", "3;0"},
			 Case {"three then twos", threeThenTwo, "3;2;0"},
			 Case {"one group only", threeOnly, "3"},
			 Case {"two groups only", threeTwoStop, "3;2"},
			 Case {"no grouping", "", "0"},
			 Case {"no grouping bytes", nullptr, "0"},
			 Case {"a size beyond 9", tooLarge, "0"},
			 Case {"more sizes than the text holds", sixSizes, "1;2;3;4;5"},
		 }) {
		SCOPED_TRACE(testCase.what);
		EXPECT_EQ(Win::LocaleSettingsFromConventions(".", ",", testCase.bytes).grouping, testCase.text);
	}
}

TEST_F(LocaleSettingsFromConventions, KeepsSeparatorsOfUpToThreeCharactersAndReplacesOthers)
{
	const char grouping[] = {3, 3, 0};
	const struct {
		const char* decimal;
		const char* thousand;
		Win::LocaleSettings expected;
	} cases[] = {
		{",", ".", Settings(",", ".", "3;0")},
		// A narrow no-break space in UTF-8 takes three bytes.
		{",", "\xE2\x80\xAF", Settings(",", "\xE2\x80\xAF", "3;0")},
		{".", "", Settings(".", "", "3;0")},
		{"", ",", Settings(".", ",", "3;0")},
		{nullptr, ",", Settings(".", ",", "3;0")},
		{"abcd", ",", Settings(".", ",", "3;0")},
		{".", "abcd", Settings(".", "", "3;0")},
		{".", nullptr, Settings(".", "", "3;0")},
	};
	for (const auto& testCase : cases) {
		SCOPED_TRACE(testCase.expected.decimalSeparator + " " + testCase.expected.thousandSeparator);
		const Win::LocaleSettings settings =
			Win::LocaleSettingsFromConventions(testCase.decimal, testCase.thousand, grouping);
		EXPECT_EQ(settings, testCase.expected) << "the other settings keep their defaults";
		EXPECT_EQ(Win::LocaleSettingsProblem(settings), "");
	}
}

class NamedLocaleSettings : public testing::Test {};

TEST_F(NamedLocaleSettings, GivesTheDefaultsForTheCLocalesAndUnknownLocales)
{
	const Win::LocaleSettings defaults = Win::DefaultLocaleSettings();
	EXPECT_EQ(defaults, Settings(".", ",", "3;0"));
	for (const char* name : {"C", "POSIX", "C.UTF-8", "C.utf8", "xx_NOWHERE.UTF-8"}) {
		SCOPED_TRACE(name);
		EXPECT_EQ(Win::LocaleSettingsOfNamedLocale(name), defaults);
	}
	EXPECT_EQ(Win::LocaleSettingsProblem(Win::EnvironmentLocaleSettings()), "");
}

// Real locales of the C library, compiled into a folder of the test's own, so the settings
// are read through localeconv as on a user's machine.
class InstalledLocaleSettings : public testing::Test {
protected:
	static void SetUpTestSuite()
	{
		folder = testing::TempDir() + "numbers-locales-" + std::to_string(getpid());
		std::filesystem::create_directories(folder);
		for (const char* name : {"de_DE", "fr_FR"}) {
			const std::string command =
				"localedef -i " + std::string(name) + " -f UTF-8 " + folder + "/" + name + ".UTF-8 >/dev/null 2>&1";
			compiled = compiled && std::system(command.c_str()) == 0;
		}
	}
	static void TearDownTestSuite() { std::filesystem::remove_all(folder); }

	void SetUp() override
	{
		if (!compiled)
			GTEST_SKIP() << "localedef or the locale sources (Debian package locales) are missing";
	}

	// What the library read at load in a fresh process with these variables set.
	static std::string SettingsReadAtLoad(const std::string& variables)
	{
		char self[4096] = {};
		const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
		EXPECT_GT(length, 0);
		const std::string command = "env -u LC_ALL -u LC_NUMERIC -u LANG LOCPATH=" + folder + " " + variables + " '" +
			self + "' --gtest_filter=EnvironmentLocaleProbe.ShowsTheSettingsReadAtLoad 2>&1";
		FILE* child = popen(command.c_str(), "r");
		EXPECT_NE(child, nullptr);
		std::string output;
		char line[512];
		while (child != nullptr && fgets(line, sizeof line, child) != nullptr)
			output += line;
		if (child != nullptr)
			pclose(child);
		const std::size_t start = output.find("read at load: [");
		if (start == std::string::npos)
			return output;
		return output.substr(start + 15, output.find(']', start) - start - 15);
	}

	static inline std::string folder;
	static inline bool compiled = true;
};

TEST_F(InstalledLocaleSettings, AreReadThroughTheLocalesNumericConventions)
{
	setenv("LOCPATH", folder.c_str(), 1);
	EXPECT_EQ(Win::LocaleSettingsOfNamedLocale("de_DE.UTF-8"), Settings(",", ".", "3;0"));
	// French groups with a narrow no-break space, three bytes in UTF-8.
	EXPECT_EQ(Win::LocaleSettingsOfNamedLocale("fr_FR.UTF-8"), Settings(",", "\xE2\x80\xAF", "3;0"));
	unsetenv("LOCPATH");
}

TEST_F(InstalledLocaleSettings, StartAsTheEnvironmentsLocaleWithTheUsualPrecedence)
{
	EXPECT_EQ(SettingsReadAtLoad("LANG=de_DE.UTF-8"), ",|.|3;0");
	EXPECT_EQ(SettingsReadAtLoad("LANG=de_DE.UTF-8 LC_NUMERIC=C"), ".|,|3;0");
	EXPECT_EQ(SettingsReadAtLoad("LC_ALL=de_DE.UTF-8 LC_NUMERIC=C"), ",|.|3;0");
	EXPECT_EQ(SettingsReadAtLoad("LANG=xx_NOWHERE.UTF-8"), ".|,|3;0");
	EXPECT_EQ(SettingsReadAtLoad(""), ".|,|3;0");
}

// Run in a process of its own by the test above, with the environment it chose.
TEST(EnvironmentLocaleProbe, ShowsTheSettingsReadAtLoad)
{
	const Win::LocaleSettings settings = Win::EnvironmentLocaleSettings();
	EXPECT_EQ(Win::LocaleSettingsProblem(settings), "");
	EXPECT_EQ(Win::UserLocaleSettings(), settings);
	std::cout << "read at load: [" << settings.decimalSeparator << '|' << settings.thousandSeparator << '|'
			  << settings.grouping << "]\n";
}

class UserLocaleSettings : public testing::Test {
protected:
	void SetUp() override { saved = Win::UserLocaleSettings(); }
	void TearDown() override { Win::SetUserLocaleSettings(saved); }

	Win::LocaleSettings saved;
};

TEST_F(UserLocaleSettings, StartAsTheEnvironmentsAreReplacedByValidSettingsAndResetToTheEnvironments)
{
	EXPECT_EQ(Win::UserLocaleSettings(), Win::EnvironmentLocaleSettings());
	Win::LocaleSettings settings = Settings(",", ".", "3;2;0");
	settings.decimals = 0;
	settings.leadingZero = 0;
	settings.negativeOrder = 4;
	EXPECT_TRUE(Win::SetUserLocaleSettings(settings));
	EXPECT_EQ(Win::UserLocaleSettings(), settings);
	Win::ResetUserLocaleSettings();
	EXPECT_EQ(Win::UserLocaleSettings(), Win::EnvironmentLocaleSettings());
}

TEST_F(UserLocaleSettings, RefuseInvalidSettingsWithAReasonAndKeepThePreviousOnes)
{
	const Win::LocaleSettings before = Settings(",", ".", "3;0");
	ASSERT_TRUE(Win::SetUserLocaleSettings(before));
	struct Case {
		const char* what;
		Win::LocaleSettings settings;
		const char* reasonMentions;
	};
	for (const Case& testCase : {
			 Case {"empty decimal separator", Settings("", ",", "3;0"), "decimal separator"},
			 Case {"long decimal separator", Settings("....", ",", "3;0"), "decimal separator"},
			 Case {"long thousand separator", Settings(".", ",,,,", "3;0"), "thousand separator"},
			 Case {"NUL in a separator", Settings(".", std::string("a\0b", 3), "3;0"), "NUL"},
			 Case {"empty grouping", Settings(".", ",", ""), "grouping"},
			 Case {"two-digit size", Settings(".", ",", "33"), "grouping"},
			 Case {"trailing semicolon", Settings(".", ",", "3;"), "grouping"},
			 Case {"zero in the middle", Settings(".", ",", "3;0;2"), "grouping"},
			 Case {"zero first", Settings(".", ",", "0;3"), "grouping"},
			 Case {"too long a grouping", Settings(".", ",", "3;2;1;4;5;0"), "grouping"},
			 Case {"letters", Settings(".", ",", "a"), "grouping"},
			 Case {"ten decimals", {.decimals = 10}, "decimals"},
			 Case {"leading zero 2", {.leadingZero = 2}, "leading zero"},
			 Case {"negative order 5", {.negativeOrder = 5}, "negative number order"},
		 }) {
		SCOPED_TRACE(testCase.what);
		EXPECT_NE(Win::LocaleSettingsProblem(testCase.settings).find(testCase.reasonMentions), std::string::npos);
		EXPECT_FALSE(Win::SetUserLocaleSettings(testCase.settings));
		EXPECT_EQ(Win::UserLocaleSettings(), before);
	}
}

TEST_F(UserLocaleSettings, AcceptEveryWellFormedGroupingText)
{
	for (const char* grouping : {"0", "3", "3;0", "3;2", "3;2;0", "9;9;9;9;0", "1;2;3;4;5"}) {
		SCOPED_TRACE(grouping);
		EXPECT_EQ(Win::LocaleSettingsProblem(Settings(".", ",", grouping)), "");
	}
	EXPECT_EQ(Win::LocaleSettingsProblem(Settings("\xE2\x80\xAF", "", "0")), "");
}

} // namespace

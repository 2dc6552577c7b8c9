// The user's regional number settings, which GetLocaleInfoA and GetNumberFormatA answer for
// the user default locale. They start as the settings of the environment's locale (LC_ALL,
// LC_NUMERIC or LANG, read once when the library loads) and a host may replace them, for a
// command-line option, its own settings file or a test that wants a known grouping. The
// new settings show at the very next call of either Windows function.
#pragma once

#include <string>

namespace Win {

// One set of regional number settings, each field as the matching locale setting's text
// or number says it.
struct LocaleSettings {
	std::string decimalSeparator = ".";  // LOCALE_SDECIMAL: 1 to 3 characters
	std::string thousandSeparator = ","; // LOCALE_STHOUSAND: 0 to 3 characters
	// LOCALE_SGROUPING: group sizes 0 to 9 from the decimal separator leftwards, separated
	// by ';'. A final 0 repeats the size before it ("3;0" thousands, "3;2;0" 12,34,56,789);
	// without it the digits left of the last group stay together ("3" 1234567,890); "0"
	// means no grouping. At most 9 characters.
	std::string grouping = "3;0";
	unsigned decimals = 2;      // LOCALE_IDIGITS: 0 to 9
	unsigned leadingZero = 1;   // LOCALE_ILZERO: 1 writes 0.5, 0 writes .5
	unsigned negativeOrder = 1; // LOCALE_INEGNUMBER: 0 (1.1), 1 -1.1, 2 - 1.1, 3 1.1-, 4 1.1 -

	friend bool operator==(const LocaleSettings&, const LocaleSettings&) = default;
};

// The settings used where a locale says nothing: the C and POSIX locales and the invariant
// locale. The same as a default-constructed record.
LocaleSettings DefaultLocaleSettings();

// Settings made from a locale's numeric conventions as localeconv gives them: its decimal
// point, its thousands separator and its grouping bytes (each a group size; CHAR_MAX ends
// the grouping, the string's end repeats the last size). A separator longer than three
// characters cannot be carried and becomes "." (decimal) or "" (thousands). Decimals,
// leading zero and negative order, which the conventions do not give, keep the defaults.
LocaleSettings LocaleSettingsFromConventions(
	const char* decimalPoint, const char* thousandSeparator, const char* grouping);

// The settings of an installed locale of the C library, by name ("de_DE.UTF-8"): the
// defaults for the C and POSIX locales and for a locale that is not installed.
LocaleSettings LocaleSettingsOfNamedLocale(const std::string& name);

// The environment's locale settings (the locale LC_ALL, LC_NUMERIC or LANG names), as read
// when the library was loaded. What LOCALE_SYSTEM_DEFAULT and LOCALE_NOUSEROVERRIDE answer.
LocaleSettings EnvironmentLocaleSettings();

// What is wrong with the settings, in one sentence for the user; empty when they are valid.
std::string LocaleSettingsProblem(const LocaleSettings& settings);

// The user's current settings.
LocaleSettings UserLocaleSettings();

// Makes the settings the user's. Invalid settings (see LocaleSettingsProblem) are refused:
// the answer is false and the user's settings stay as they were.
bool SetUserLocaleSettings(const LocaleSettings& settings);

// Back to the environment's locale settings.
void ResetUserLocaleSettings();

} // namespace Win

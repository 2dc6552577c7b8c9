// Reading a person's choice of regional number settings into the platform's user settings.
#include "RegionalSettings.hpp"

#include "HostText.hpp"

#include "Win/LocaleSettings.hpp"

#include <clocale>

#include <locale.h>

namespace ReferenceHost {

namespace {

bool IsInstalledLocale(const std::string& name)
{
	if (name.empty())
		return false;
	const locale_t installed = newlocale(LC_NUMERIC_MASK, name.c_str(), static_cast<locale_t>(nullptr));
	if (installed == static_cast<locale_t>(nullptr))
		return false;
	freelocale(installed);
	return true;
}

} // namespace

std::string RegionalSettingsHelp()
{
	return "locale=NAME (an installed locale, e.g. de_DE.UTF-8), decimal=TEXT, thousands=TEXT, "
		   "grouping=TEXT (e.g. 3;0 or 3;2;0), decimals=N, leading-zero=0|1, negative-order=0..4";
}

Outcome ApplyRegionalSettings(const std::vector<std::string>& assignments)
{
	Win::LocaleSettings settings = Win::UserLocaleSettings();
	// A named locale is the base the single settings then adjust, whatever their order.
	for (const std::string& assignment : assignments) {
		if (assignment.rfind("locale=", 0) == 0) {
			const std::string name = assignment.substr(7);
			// Formatting silently with the default would show the person numbers they did not ask for.
			if (!IsInstalledLocale(name))
				return Outcome::Failure(
					"the locale \"" + name + "\" is not installed here (locale -a lists those that are)");
			settings = Win::LocaleSettingsOfNamedLocale(name);
		}
	}
	for (const std::string& assignment : assignments) {
		const std::size_t equals = assignment.find('=');
		if (equals == std::string::npos)
			return Outcome::Failure(Quoted(assignment) + " is not WORD=VALUE; the words are " + RegionalSettingsHelp());
		const std::string word = assignment.substr(0, equals);
		const std::string value = assignment.substr(equals + 1);
		if (word == "locale") {
			continue;
		} else if (word == "decimal") {
			settings.decimalSeparator = value;
		} else if (word == "thousands") {
			settings.thousandSeparator = value;
		} else if (word == "grouping") {
			settings.grouping = value;
		} else if (word == "decimals" || word == "leading-zero" || word == "negative-order") {
			const std::optional<unsigned> number = ParseWhole<unsigned>(value);
			if (!number)
				return Outcome::Failure(word + " takes a whole number, not " + Quoted(value));
			(word == "decimals"              ? settings.decimals
					: word == "leading-zero" ? settings.leadingZero
											 : settings.negativeOrder) = *number;
		} else {
			return Outcome::Failure(
				"unknown regional setting " + Quoted(word) + "; the words are " + RegionalSettingsHelp());
		}
	}
	if (const std::string problem = Win::LocaleSettingsProblem(settings); !problem.empty())
		return Outcome::Failure(problem);
	Win::SetUserLocaleSettings(settings);
	return Outcome::Success();
}

} // namespace ReferenceHost

// The user's regional number settings: where they start (the environment's locale, read
// once when the library loads), how a host replaces them, and which settings each locale
// identifier stands for.
#include "Win/LocaleSettings.hpp"

#include "DigitGrouping.hpp"
#include "LocaleLookup.hpp"

#include <algorithm>
#include <atomic>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <list>
#include <locale.h>
#include <mutex>

namespace Win {

namespace {

constexpr std::size_t MaxSeparatorLength = 3;
constexpr std::size_t MaxGroupingTextLength = 9;

bool IsCLocaleName(const std::string& name)
{
	return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// The locale name the C library's setlocale(LC_NUMERIC, "") would choose.
std::string EnvironmentLocaleName()
{
	for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
		const char* value = std::getenv(variable);
		if (value != nullptr && *value != '\0')
			return value;
	}
	return "C";
}

LocaleSettings ReadLocaleSettings(const std::string& name)
{
	if (IsCLocaleName(name))
		return DefaultLocaleSettings();
	locale_t numeric = newlocale(LC_NUMERIC_MASK, name.c_str(), nullptr);
	if (numeric == nullptr)
		return DefaultLocaleSettings();
	// localeconv answers for the thread's locale, so borrow the thread for a moment
	// instead of changing the process locale under the host's feet.
	const locale_t previous = uselocale(numeric);
	const std::lconv* conventions = std::localeconv();
	LocaleSettings settings =
		LocaleSettingsFromConventions(conventions->decimal_point, conventions->thousands_sep, conventions->grouping);
	uselocale(previous);
	freelocale(numeric);
	return settings;
}

// The formatters ask for the settings several times for every number they write, so a
// reader takes them with one load, no lock: every distinct set of settings the user has had
// stays in place, and the current one is pointed at. Settings change rarely and are few.
struct UserSettings {
	std::mutex mutex;
	std::list<LocaleSettings> versions {EnvironmentLocaleSettings()};
	std::atomic<const LocaleSettings*> current {&versions.front()};
};

UserSettings& User()
{
	static UserSettings user;
	return user;
}

// The environment is read while the library loads, so a later change of the process's
// environment or locale does not change the user's settings behind the host's back.
[[maybe_unused]] const bool environmentReadAtLoad = (User(), true);

} // namespace

LocaleSettings DefaultLocaleSettings()
{
	return LocaleSettings {};
}

LocaleSettings LocaleSettingsFromConventions(
	const char* decimalPoint, const char* thousandSeparator, const char* grouping)
{
	LocaleSettings settings;
	const std::string decimal = decimalPoint != nullptr ? decimalPoint : "";
	settings.decimalSeparator = (decimal.empty() || decimal.size() > MaxSeparatorLength) ? "." : decimal;
	const std::string thousand = thousandSeparator != nullptr ? thousandSeparator : "";
	settings.thousandSeparator = thousand.size() > MaxSeparatorLength ? "" : thousand;

	detail::DigitGrouping digitGrouping;
	digitGrouping.repeatLast = true;
	for (const char* size = grouping != nullptr ? grouping : ""; *size != '\0'; ++size) {
		// CHAR_MAX ends the grouping; sizes a grouping text cannot write end it too.
		// Sizes past the capacity would be cut below anyway.
		if (*size == CHAR_MAX || *size < 0 || *size > 9 || digitGrouping.sizes.full()) {
			digitGrouping.repeatLast = false;
			break;
		}
		digitGrouping.sizes.push_back(static_cast<unsigned>(*size));
	}
	std::string text = detail::GroupingText(digitGrouping);
	// A grouping text has room for four repeated or five plain sizes; digits that far left
	// are rare enough to leave ungrouped.
	while (text.size() > MaxGroupingTextLength) {
		digitGrouping.sizes.pop_back();
		digitGrouping.repeatLast = false;
		text = detail::GroupingText(digitGrouping);
	}
	settings.grouping = text;
	return settings;
}

LocaleSettings LocaleSettingsOfNamedLocale(const std::string& name)
{
	return ReadLocaleSettings(name);
}

LocaleSettings EnvironmentLocaleSettings()
{
	static const LocaleSettings environment = ReadLocaleSettings(EnvironmentLocaleName());
	return environment;
}

std::string LocaleSettingsProblem(const LocaleSettings& settings)
{
	const auto hasNul = [](const std::string& text) { return text.find('\0') != std::string::npos; };
	if (settings.decimalSeparator.empty() || settings.decimalSeparator.size() > MaxSeparatorLength)
		return "The decimal separator must have 1 to 3 characters.";
	if (settings.thousandSeparator.size() > MaxSeparatorLength)
		return "The thousand separator must have at most 3 characters.";
	if (hasNul(settings.decimalSeparator) || hasNul(settings.thousandSeparator))
		return "The separators must not contain a NUL character.";
	if (!detail::IsGroupingText(settings.grouping))
		return "The digit grouping must be group sizes 0 to 9 separated by semicolons, such as 3;0 or 3;2;0, "
			   "with a 0 only at the end.";
	if (settings.decimals > 9)
		return "The number of decimals must be 0 to 9.";
	if (settings.leadingZero > 1)
		return "The leading zero setting must be 0 or 1.";
	if (settings.negativeOrder > 4)
		return "The negative number order must be 0 to 4.";
	return {};
}

LocaleSettings UserLocaleSettings()
{
	return *User().current.load(std::memory_order_acquire);
}

bool SetUserLocaleSettings(const LocaleSettings& settings)
{
	if (!LocaleSettingsProblem(settings).empty())
		return false;
	UserSettings& user = User();
	const std::lock_guard lock(user.mutex);
	auto version = std::find(user.versions.begin(), user.versions.end(), settings);
	if (version == user.versions.end())
		version = user.versions.insert(user.versions.end(), settings);
	user.current.store(&*version, std::memory_order_release);
	return true;
}

void ResetUserLocaleSettings()
{
	SetUserLocaleSettings(EnvironmentLocaleSettings());
}

namespace detail {

const LocaleSettings* SettingsOfLocale(LCID locale, bool withoutUserChanges)
{
	static const LocaleSettings environment = EnvironmentLocaleSettings();
	static const LocaleSettings invariant = DefaultLocaleSettings();
	switch (locale) {
	case LOCALE_NEUTRAL:
	case LOCALE_USER_DEFAULT: return withoutUserChanges ? &environment : User().current.load(std::memory_order_acquire);
	case LOCALE_SYSTEM_DEFAULT: return &environment;
	case LOCALE_INVARIANT: return &invariant;
	default: return nullptr;
	}
}

} // namespace detail

} // namespace Win

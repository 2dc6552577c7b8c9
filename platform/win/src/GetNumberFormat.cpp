// GetNumberFormatA: writes a plain number text ("-1234.5") the way a locale's settings or a
// caller's NUMBERFMTA record say: rounded to the number of decimals, digits grouped, the
// locale's separators, the negative number order, with or without a leading zero.
#include "Win/Locale.hpp"

#include "DigitGrouping.hpp"
#include "LocaleLookup.hpp"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Win::detail::DigitGrouping;

constexpr unsigned MaxDecimals = 9;
constexpr unsigned MaxNegativeOrder = 4;
constexpr std::size_t MaxSeparatorLength = 3;

struct NumberLayout {
	unsigned decimals = 0;
	bool leadingZero = true;
	DigitGrouping grouping;
	std::string decimalSeparator;
	std::string thousandSeparator;
	unsigned negativeOrder = 1;
};

struct PlainNumber {
	bool negative = false;
	std::string integerDigits; // without leading zeros, so empty for a zero integer part
	std::string fractionDigits;
};

bool IsDigit(char c)
{
	return c >= '0' && c <= '9';
}

// Digits with at most one '.', a '-' only in front, at least one digit, nothing else.
std::optional<PlainNumber> ParsePlainNumber(const char* text)
{
	PlainNumber number;
	const char* c = text;
	if (*c == '-') {
		number.negative = true;
		++c;
	}
	while (IsDigit(*c))
		number.integerDigits += *c++;
	if (*c == '.') {
		++c;
		while (IsDigit(*c))
			number.fractionDigits += *c++;
	}
	if (*c != '\0' || (number.integerDigits.empty() && number.fractionDigits.empty()))
		return std::nullopt;
	number.integerDigits.erase(0, number.integerDigits.find_first_not_of('0'));
	return number;
}

// Rounds half away from zero on the digits themselves, so no binary fraction creeps in,
// then pads the fraction to exactly the number of decimals.
void RoundToDecimals(PlainNumber& number, unsigned decimals)
{
	std::string& fraction = number.fractionDigits;
	if (fraction.size() > decimals) {
		const bool roundUp = fraction[decimals] >= '5';
		fraction.resize(decimals);
		if (roundUp) {
			std::string digits = number.integerDigits + fraction;
			std::size_t position = digits.size();
			while (position > 0 && digits[position - 1] == '9')
				digits[--position] = '0';
			if (position == 0)
				digits.insert(digits.begin(), '1');
			else
				++digits[position - 1];
			number.integerDigits = digits.substr(0, digits.size() - decimals);
			fraction = digits.substr(digits.size() - decimals);
		}
	}
	fraction.append(decimals - fraction.size(), '0');
}

std::string GroupDigits(std::string_view digits, const DigitGrouping& grouping, const std::string& separator)
{
	if (grouping.sizes.empty())
		return std::string(digits);
	std::vector<std::string_view> groups; // the rightmost first
	for (std::size_t group = 0; !digits.empty(); ++group) {
		std::size_t size = digits.size();
		if (group < grouping.sizes.size())
			size = grouping.sizes[group];
		else if (grouping.repeatLast)
			size = grouping.sizes.back();
		size = std::min(size, digits.size());
		groups.push_back(digits.substr(digits.size() - size));
		digits.remove_suffix(size);
	}
	std::string grouped;
	for (auto group = groups.rbegin(); group != groups.rend(); ++group) {
		if (!grouped.empty())
			grouped += separator;
		grouped += *group;
	}
	return grouped;
}

std::string FormatNumber(PlainNumber number, const NumberLayout& layout)
{
	RoundToDecimals(number, layout.decimals);
	std::string text;
	if (!number.integerDigits.empty())
		text = GroupDigits(number.integerDigits, layout.grouping, layout.thousandSeparator);
	else if (layout.leadingZero || layout.decimals == 0)
		text = "0";
	if (layout.decimals > 0)
		text += layout.decimalSeparator + number.fractionDigits;

	// A value that rounds to zero is shown without a sign: "-0.00" is no number a user writes.
	const auto isZero = [](const std::string& digits) {
		return digits.find_first_not_of('0') == std::string::npos;
	};
	if (!number.negative || (isZero(number.integerDigits) && isZero(number.fractionDigits)))
		return text;
	switch (layout.negativeOrder) {
	case 0:
		return "(" + text + ")";
	case 2:
		return "- " + text;
	case 3:
		return text + "-";
	case 4:
		return text + " -";
	default:
		return "-" + text;
	}
}

int Fail(DWORD error)
{
	Win::detail::SetLastErrorCode(error);
	return 0;
}

bool IsSeparator(const char* separator)
{
	return separator != nullptr && strnlen(separator, MaxSeparatorLength + 1) <= MaxSeparatorLength;
}

std::optional<NumberLayout> LayoutOfRecord(const NUMBERFMTA& format)
{
	if (format.NumDigits > MaxDecimals || format.LeadingZero > 1 || format.NegativeOrder > MaxNegativeOrder
		|| !IsSeparator(format.lpDecimalSep) || !IsSeparator(format.lpThousandSep))
		return std::nullopt;
	NumberLayout layout;
	layout.decimals = format.NumDigits;
	layout.leadingZero = format.LeadingZero == 1;
	layout.grouping = Win::detail::GroupingFromCode(format.Grouping);
	layout.decimalSeparator = format.lpDecimalSep;
	layout.thousandSeparator = format.lpThousandSep;
	layout.negativeOrder = format.NegativeOrder;
	return layout;
}

NumberLayout LayoutOfSettings(const Win::LocaleSettings& settings)
{
	NumberLayout layout;
	layout.decimals = settings.decimals;
	layout.leadingZero = settings.leadingZero == 1;
	layout.grouping = Win::detail::GroupingFromText(settings.grouping);
	layout.decimalSeparator = settings.decimalSeparator;
	layout.thousandSeparator = settings.thousandSeparator;
	layout.negativeOrder = settings.negativeOrder;
	return layout;
}

} // namespace

extern "C" int GetNumberFormatA(LCID Locale, DWORD dwFlags, LPCSTR lpValue, const NUMBERFMTA* lpFormat, LPSTR lpNumberStr,
	int cchNumber)
{
	if (lpValue == nullptr || cchNumber < 0 || (cchNumber > 0 && lpNumberStr == nullptr))
		return Fail(ERROR_INVALID_PARAMETER);
	// A record says everything itself, so no flag may ask for other settings.
	if (lpFormat != nullptr && dwFlags != 0)
		return Fail(ERROR_INVALID_FLAGS);
	if ((dwFlags & ~(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP)) != 0)
		return Fail(ERROR_INVALID_FLAGS);
	const std::optional<Win::LocaleSettings> settings
		= Win::detail::SettingsOfLocale(Locale, (dwFlags & LOCALE_NOUSEROVERRIDE) != 0);
	if (!settings)
		return Fail(ERROR_INVALID_PARAMETER);

	const std::optional<NumberLayout> layout = lpFormat != nullptr ? LayoutOfRecord(*lpFormat) : LayoutOfSettings(*settings);
	if (!layout)
		return Fail(ERROR_INVALID_PARAMETER);
	const std::optional<PlainNumber> number = ParsePlainNumber(lpValue);
	if (!number)
		return Fail(ERROR_INVALID_PARAMETER);

	const std::string text = FormatNumber(*number, *layout);
	if (text.size() >= static_cast<std::size_t>(INT_MAX))
		return Fail(ERROR_INVALID_PARAMETER);
	const int needed = static_cast<int>(text.size() + 1);
	if (cchNumber == 0)
		return needed;
	if (cchNumber < needed)
		return Fail(ERROR_INSUFFICIENT_BUFFER);
	std::memcpy(lpNumberStr, text.c_str(), text.size() + 1);
	return needed;
}

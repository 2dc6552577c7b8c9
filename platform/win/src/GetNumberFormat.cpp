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

namespace {

using Win::detail::DigitGrouping;

constexpr unsigned MaxDecimals = 9;
constexpr unsigned MaxNegativeOrder = 4;
constexpr std::size_t MaxSeparatorLength = 3;

struct NumberLayout {
	unsigned decimals = 0;
	bool leadingZero = true;
	DigitGrouping grouping;
	std::string_view decimalSeparator;
	std::string_view thousandSeparator;
	unsigned negativeOrder = 1;
};

// The parts of a plain number text, as views into it.
struct PlainNumber {
	bool negative = false;
	std::string_view integerDigits; // without leading zeros, so empty for a zero integer part
	std::string_view fractionDigits;
};

bool IsDigit(char c)
{
	return c >= '0' && c <= '9';
}

std::string_view DigitsFrom(const char*& c)
{
	const char* first = c;
	while (IsDigit(*c))
		++c;
	return {first, static_cast<std::size_t>(c - first)};
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
	number.integerDigits = DigitsFrom(c);
	if (*c == '.') {
		++c;
		number.fractionDigits = DigitsFrom(c);
	}
	if (*c != '\0' || (number.integerDigits.empty() && number.fractionDigits.empty()))
		return std::nullopt;
	const std::size_t firstNonZero = number.integerDigits.find_first_not_of('0');
	number.integerDigits.remove_prefix(std::min(firstNonZero, number.integerDigits.size()));
	return number;
}

// The number's digits rounded to the number of decimals: the integer digits, then exactly
// that many fraction digits. Rounds half away from zero on the digits themselves, so no
// binary fraction creeps in.
struct RoundedDigits {
	std::string digits;
	std::size_t integerLength = 0;

	std::string_view Integer() const { return std::string_view(digits).substr(0, integerLength); }
	std::string_view Fraction() const { return std::string_view(digits).substr(integerLength); }
};

RoundedDigits RoundToDecimals(const PlainNumber& number, unsigned decimals)
{
	RoundedDigits rounded;
	rounded.digits.reserve(number.integerDigits.size() + 1 + decimals);
	rounded.digits.append(number.integerDigits);
	rounded.integerLength = number.integerDigits.size();
	const std::string_view fraction = number.fractionDigits;
	rounded.digits.append(fraction.substr(0, std::min<std::size_t>(decimals, fraction.size())));
	rounded.digits.append(decimals - std::min<std::size_t>(decimals, fraction.size()), '0');
	if (fraction.size() > decimals && fraction[decimals] >= '5') {
		std::string& digits = rounded.digits;
		std::size_t position = digits.size();
		while (position > 0 && digits[position - 1] == '9')
			digits[--position] = '0';
		if (position == 0) {
			digits.insert(digits.begin(), '1');
			++rounded.integerLength;
		} else {
			++digits[position - 1];
		}
	}
	return rounded;
}

// The size of the group that many groups from the decimal separator; what is left when the
// grouping says no more.
std::size_t GroupSize(const DigitGrouping& grouping, std::size_t fromRight, std::size_t remaining)
{
	std::size_t size = remaining;
	if (fromRight < grouping.sizes.size())
		size = grouping.sizes[fromRight];
	else if (grouping.repeatLast && !grouping.sizes.empty())
		size = grouping.sizes.back();
	return size == 0 || size > remaining ? remaining : size;
}

// The groups are measured from the right, so they are counted first and written from the left.
void AppendGroupedDigits(
	std::string& text, std::string_view digits, const DigitGrouping& grouping, std::string_view separator)
{
	std::size_t groups = 0;
	std::size_t leftmost = 0;
	for (std::size_t remaining = digits.size(); remaining > 0; ++groups) {
		leftmost = GroupSize(grouping, groups, remaining);
		remaining -= leftmost;
	}
	std::size_t at = 0;
	for (std::size_t group = groups; group-- > 0;) {
		const std::size_t size = group + 1 == groups ? leftmost : GroupSize(grouping, group, digits.size() - at);
		if (at > 0)
			text += separator;
		text += digits.substr(at, size);
		at += size;
	}
}

// What goes before and after a negative number, by negative number order.
struct SignPlacement {
	std::string_view before;
	std::string_view after;
};
constexpr SignPlacement NegativeSigns[MaxNegativeOrder + 1] = {
	{"(", ")"}, {"-", ""}, {"- ", ""}, {"", "-"}, {"", " -"}};

std::string FormatNumber(const PlainNumber& number, const NumberLayout& layout)
{
	const RoundedDigits rounded = RoundToDecimals(number, layout.decimals);
	// A value that rounds to zero is shown without a sign: "-0.00" is no number a user writes.
	const bool negative = number.negative && rounded.digits.find_first_not_of('0') != std::string::npos;
	std::string text;
	const SignPlacement sign = negative
		? NegativeSigns[layout.negativeOrder <= MaxNegativeOrder ? layout.negativeOrder : 1]
		: SignPlacement {};
	text += sign.before;
	if (!rounded.Integer().empty())
		AppendGroupedDigits(text, rounded.Integer(), layout.grouping, layout.thousandSeparator);
	else if (layout.leadingZero || layout.decimals == 0)
		text += '0';
	if (layout.decimals > 0) {
		text += layout.decimalSeparator;
		text += rounded.Fraction();
	}
	text += sign.after;
	return text;
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

bool IsValidRecord(const NUMBERFMTA& format)
{
	return format.NumDigits <= MaxDecimals && format.LeadingZero <= 1 && format.NegativeOrder <= MaxNegativeOrder &&
		IsSeparator(format.lpDecimalSep) && IsSeparator(format.lpThousandSep);
}

NumberLayout LayoutOfRecord(const NUMBERFMTA& format)
{
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

extern "C" int GetNumberFormatA(
	LCID Locale, DWORD dwFlags, LPCSTR lpValue, const NUMBERFMTA* lpFormat, LPSTR lpNumberStr, int cchNumber)
{
	if (lpValue == nullptr || cchNumber < 0 || (cchNumber > 0 && lpNumberStr == nullptr))
		return Fail(ERROR_INVALID_PARAMETER);
	// A record says everything itself, so no flag may ask for other settings.
	if (lpFormat != nullptr && dwFlags != 0)
		return Fail(ERROR_INVALID_FLAGS);
	if ((dwFlags & ~(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP)) != 0)
		return Fail(ERROR_INVALID_FLAGS);
	const Win::LocaleSettings* settings = Win::detail::SettingsOfLocale(Locale, (dwFlags & LOCALE_NOUSEROVERRIDE) != 0);
	if (settings == nullptr)
		return Fail(ERROR_INVALID_PARAMETER);

	if (lpFormat != nullptr && !IsValidRecord(*lpFormat))
		return Fail(ERROR_INVALID_PARAMETER);
	const std::optional<PlainNumber> number = ParsePlainNumber(lpValue);
	if (!number)
		return Fail(ERROR_INVALID_PARAMETER);

	const std::string text =
		FormatNumber(*number, lpFormat != nullptr ? LayoutOfRecord(*lpFormat) : LayoutOfSettings(*settings));
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

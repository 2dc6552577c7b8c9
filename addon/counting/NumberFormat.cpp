// Counts and percentages turned into text through the operating system's number formatting,
// so the report, the results list and the command page all follow the user's regional
// settings. When the system refuses a number, its plain digits are shown instead.
#include "counting/NumberFormat.hpp"

#include "Win/Locale.hpp"

#include <charconv>
#include <cstring>

namespace {

constexpr int TextBufferSize = 256;

// Reused by every call. The settings' buffers keep the previous call's text when a setting
// cannot be read, which is what the user last saw.
char digitText[TextBufferSize];
char formattedText[TextBufferSize];
char leadingZeroText[2];
char groupingText[256];
char decimalSeparatorText[4];
char thousandSeparatorText[4];
char negativeOrderText[2];

UINT DecimalNumber(const char* text)
{
	UINT number = 0;
	for (; *text >= '0' && *text <= '9'; ++text)
		number = number * 10 + static_cast<UINT>(*text - '0');
	return number;
}

// The record's grouping code from the grouping text: the short texts ("3;0", "3") give
// their first size, which then repeats; every longer one is taken for "3;2;0".
UINT GroupingCode(const char* text)
{
	if (std::strlen(text) > 3)
		return 32;
	return text[0] >= '0' && text[0] <= '9' ? static_cast<UINT>(text[0] - '0') : 0;
}

template <std::size_t Size>
void ReadSetting(LCTYPE setting, char (&buffer)[Size])
{
	GetLocaleInfoA(LOCALE_USER_DEFAULT, setting, buffer, static_cast<int>(Size));
}

} // namespace

VX::String FormatCount(std::uint32_t value)
{
	// The digits "%lu" writes, without a format string to interpret for every row of a list.
	*std::to_chars(digitText, digitText + TextBufferSize - 1, value).ptr = '\0';

	NUMBERFMTA format;
	format.NumDigits = 0;
	ReadSetting(LOCALE_ILZERO, leadingZeroText);
	format.LeadingZero = DecimalNumber(leadingZeroText);
	ReadSetting(LOCALE_SGROUPING, groupingText);
	format.Grouping = GroupingCode(groupingText);
	ReadSetting(LOCALE_SDECIMAL, decimalSeparatorText);
	format.lpDecimalSep = decimalSeparatorText;
	ReadSetting(LOCALE_STHOUSAND, thousandSeparatorText);
	format.lpThousandSep = thousandSeparatorText;
	ReadSetting(LOCALE_INEGNUMBER, negativeOrderText);
	format.NegativeOrder = DecimalNumber(negativeOrderText);

	const int length = GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digitText, &format, formattedText, TextBufferSize);
	if (length <= 0)
		return VX::String(digitText);
	return VX::String(formattedText, static_cast<std::size_t>(length - 1));
}

VX::String FormatPercent(double value)
{
	// Six decimals as "%f" writes them, but always with a full stop whatever the process's
	// C locale says, since that is the only decimal point the formatter reads.
	const std::to_chars_result written =
		std::to_chars(digitText, digitText + TextBufferSize - 1, value, std::chars_format::fixed, 6);
	if (written.ec != std::errc {}) {
		// Too many digits for the buffer: plain digits, none of them lost.
		// The largest double takes 317 characters.
		char wideText[400];
		const std::to_chars_result wide =
			std::to_chars(wideText, wideText + sizeof wideText, value, std::chars_format::fixed, 6);
		const std::size_t length = wide.ec == std::errc {} ? static_cast<std::size_t>(wide.ptr - wideText) : 0;
		return VX::String(wideText, length).Append("%");
	}
	*written.ptr = '\0';

	const int length = GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digitText, nullptr, formattedText, TextBufferSize);
	VX::String text =
		length <= 0 ? VX::String(digitText) : VX::String(formattedText, static_cast<std::size_t>(length - 1));
	return text.Append('%');
}

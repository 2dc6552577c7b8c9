// GetLocaleInfoA for the regional number settings: the text (or, on request, the number) of
// one setting of the user's, the system's or the invariant locale.
#include "Win/Locale.hpp"

#include "LocaleLookup.hpp"

#include <charconv>
#include <cstring>
#include <string_view>

namespace {

int Fail(DWORD error)
{
	Win::detail::SetLastErrorCode(error);
	return 0;
}

// Copies what fits the caller's rules: with a size of 0 only the size needed is answered,
// and too small a buffer is left as it was.
int Answer(const void* data, int size, LPSTR buffer, int bufferSize)
{
	if (bufferSize == 0)
		return size;
	if (bufferSize < size)
		return Fail(ERROR_INSUFFICIENT_BUFFER);
	std::memcpy(buffer, data, static_cast<std::size_t>(size));
	return size;
}

} // namespace

extern "C" int GetLocaleInfoA(LCID Locale, LCTYPE LCType, LPSTR lpLCData, int cchData)
{
	if (cchData < 0 || (cchData > 0 && lpLCData == nullptr))
		return Fail(ERROR_INVALID_PARAMETER);

	const bool withoutUserChanges = (LCType & LOCALE_NOUSEROVERRIDE) != 0;
	const bool asNumber = (LCType & LOCALE_RETURN_NUMBER) != 0;
	const LCTYPE setting = LCType & ~(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER);
	if (setting != LOCALE_SDECIMAL && setting != LOCALE_STHOUSAND && setting != LOCALE_SGROUPING &&
		setting != LOCALE_IDIGITS && setting != LOCALE_ILZERO && setting != LOCALE_INEGNUMBER)
		return Fail(ERROR_INVALID_FLAGS);

	const Win::LocaleSettings* settings = Win::detail::SettingsOfLocale(Locale, withoutUserChanges);
	if (settings == nullptr)
		return Fail(ERROR_INVALID_PARAMETER);

	// Every text below ends with its zero, which is copied with it.
	std::string_view text;
	char numberText[16] {};
	switch (setting) {
	case LOCALE_SDECIMAL: text = settings->decimalSeparator; break;
	case LOCALE_STHOUSAND: text = settings->thousandSeparator; break;
	case LOCALE_SGROUPING: text = settings->grouping; break;
	default: {
		DWORD number = settings->decimals;
		if (setting == LOCALE_ILZERO)
			number = settings->leadingZero;
		else if (setting == LOCALE_INEGNUMBER)
			number = settings->negativeOrder;
		if (asNumber)
			return Answer(&number, static_cast<int>(sizeof number), lpLCData, cchData);
		const char* end = std::to_chars(numberText, numberText + sizeof numberText - 1, number).ptr;
		text = std::string_view(numberText, static_cast<std::size_t>(end - numberText));
		break;
	}
	}
	// Only numeric settings come back as numbers.
	if (asNumber)
		return Fail(ERROR_INVALID_FLAGS);
	return Answer(text.data(), static_cast<int>(text.size() + 1), lpLCData, cchData);
}

// The Windows calls for the user's regional number settings: GetLocaleInfoA reads one
// setting as text, GetNumberFormatA writes a number text the way those settings (or a
// caller's own NUMBERFMTA record) say. Both keep the Windows signatures and C linkage, so
// code written against the Windows headers compiles and behaves unchanged. The settings
// themselves, and how a host chooses them, are in Win/LocaleSettings.hpp.
#pragma once

#include "Win/LastError.hpp"
#include "Win/WindowsTypes.hpp"

// Locale identifiers. The user default is the user's own settings; the system default is
// the process locale's settings as found at start, without the user's changes; the
// invariant locale has fixed settings ("." "," "3;0", 2 decimals).
constexpr LCID LOCALE_NEUTRAL = 0x0000;
constexpr LCID LOCALE_INVARIANT = 0x007F;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// Settings GetLocaleInfoA answers.
constexpr LCTYPE LOCALE_SDECIMAL = 0x000E;
constexpr LCTYPE LOCALE_STHOUSAND = 0x000F;
constexpr LCTYPE LOCALE_SGROUPING = 0x0010;
constexpr LCTYPE LOCALE_IDIGITS = 0x0011;
constexpr LCTYPE LOCALE_ILZERO = 0x0012;
constexpr LCTYPE LOCALE_INEGNUMBER = 0x1010;

// Flags: or-ed into the setting of GetLocaleInfoA, or given as GetNumberFormatA's flags.
constexpr DWORD LOCALE_NOUSEROVERRIDE = 0x80000000;
constexpr DWORD LOCALE_USE_CP_ACP = 0x40000000;
// GetLocaleInfoA only: a numeric setting comes back as a DWORD in the buffer, not as text.
constexpr DWORD LOCALE_RETURN_NUMBER = 0x20000000;

// The Windows number-format record, field for field. Grouping is a code of decimal digits,
// each a group size counted from the decimal separator leftwards: 3 gives 1,234,567; 32
// gives 12,34,567 (the last size repeats); a final 0 stops the grouping, so 30 gives 1234,567.
struct NUMBERFMTA {
	UINT NumDigits;   // decimals, 0 to 9
	UINT LeadingZero; // 1 writes 0.5, 0 writes .5
	UINT Grouping;
	LPSTR lpDecimalSep;  // at most 3 characters
	LPSTR lpThousandSep; // at most 3 characters
	UINT NegativeOrder;  // 0 (1.1), 1 -1.1, 2 - 1.1, 3 1.1-, 4 1.1 -
};

extern "C" {

// Copies the setting's text with its NUL into lpLCData and answers the characters written.
// With cchData 0 it answers the size needed and leaves lpLCData alone. Fails with 0 and a
// last error (the buffer untouched): too small a buffer, an unknown setting or flag, an
// unknown locale.
int GetLocaleInfoA(LCID Locale, LCTYPE LCType, LPSTR lpLCData, int cchData);

// Formats lpValue (digits, at most one '.', a leading '-' and nothing else) and answers
// the characters written with the NUL; with cchNumber 0, the size needed. lpFormat null
// means the locale's own settings; with a record, dwFlags must be 0. Fails with 0 and a
// last error, leaving lpNumberStr untouched.
int GetNumberFormatA(
	LCID Locale, DWORD dwFlags, LPCSTR lpValue, const NUMBERFMTA* lpFormat, LPSTR lpNumberStr, int cchNumber);

} // extern "C"

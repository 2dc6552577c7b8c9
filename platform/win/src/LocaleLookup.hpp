// Which settings a locale identifier stands for, shared by GetLocaleInfoA and GetNumberFormatA.
#pragma once

#include "Win/Locale.hpp"
#include "Win/LocaleSettings.hpp"

namespace Win::detail {

// The settings of the locale, without the user's changes when asked; null for a locale this
// system does not know. What it points to stays as it is while the library is loaded.
const LocaleSettings* SettingsOfLocale(LCID locale, bool withoutUserChanges);

// Sets the calling thread's last error, which GetLastError answers.
void SetLastErrorCode(DWORD code);

} // namespace Win::detail

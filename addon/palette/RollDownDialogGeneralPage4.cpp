// Page 4's Refresh: the counting run and what follows it.
#include "palette/RollDownDialogGeneralPage4.hpp"

#include "counting/CountResult.hpp"
#include "counting/CountingRun.hpp"
#include "palette/RollDownDialogGeneralPage3.hpp"
#include "palette/RollDownPalette.hpp"
#include "shell/Preferences.hpp"

namespace {
constexpr short PageResource = 32513;
constexpr short PageHeight = 480;
} // namespace

RollDownDialogGeneralPage4::RollDownDialogGeneralPage4(const DG::TabControl& control)
	: RollDownDialogGeneralPage(control, PageResource), list(*this, 6)
{
	SetHeight(PageHeight);
}

void RollDownDialogGeneralPage4::Refresh()
{
	CountingRun();
	Preferences& preferences = GetPreferences();
	const bool counted = CurrentCountResult() != nullptr;
	if (counted)
		StoreRowLevels(preferences);
	RollDownPalette* palette = GetPalette();
	if (palette != nullptr && palette->GetPage3() != nullptr)
		palette->GetPage3()->SelectDefaultLevel(counted ? preferences.defaultLevel
														: GetStoredPreferences().StoredDefaultLevel());
}

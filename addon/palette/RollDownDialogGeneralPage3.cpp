// Page 3: the default level's pop-up, its title, its two layouts, and the recount it starts.
#include "palette/RollDownDialogGeneralPage3.hpp"

#include "counting/CountResult.hpp"
#include "lod/LevelCodes.hpp"
#include "palette/RollDownDialogGeneralPage5.hpp"
#include "palette/RollDownPalette.hpp"
#include "shell/Preferences.hpp"
#include "shell/ResourceModuleScope.hpp"

namespace {
constexpr short PageResource = 32512;
constexpr short Strings = 144;
constexpr short TitleLabel = 1;
constexpr short NarrowUpTo = 2;
} // namespace

RollDownDialogGeneralPage3::RollDownDialogGeneralPage3(const DG::TabControl& control)
	: RollDownDialogGeneralPage(control, PageResource), label(*this, 2), levels(*this, 1)
{
	for (short level = LevelCodes::Detailed; level <= LevelCodes::Custom; ++level) {
		levels.AppendItem();
		levels.SetItemText(levels.GetItemCount(), LevelName(level));
	}
	SelectDefaultLevel(
		CurrentCountResult() != nullptr ? GetPreferences().defaultLevel : GetStoredPreferences().StoredDefaultLevel());
	levels.Attach(*this);
}

RollDownDialogGeneralPage3::~RollDownDialogGeneralPage3()
{
	levels.Detach(*this);
}

short RollDownDialogGeneralPage3::GetDefaultLevel() const
{
	return unofferedLevel ? *unofferedLevel : static_cast<short>(levels.GetSelectedItem() - 1);
}

void RollDownDialogGeneralPage3::SelectDefaultLevel(short level)
{
	// Selecting an item the pop-up lacks would leave "Detailed" chosen, and the next Refresh
	// would store it over the project's own level.
	const bool offered = level >= LevelCodes::Detailed && level <= LevelCodes::Custom;
	unofferedLevel = offered ? std::nullopt : std::optional<short>(level);
	levels.SelectItem(static_cast<short>((offered ? level : LevelCodes::Custom) + 1));
	UpdateTitle();
}

void RollDownDialogGeneralPage3::PopUpChanged(const DG::PopUpChangeEvent&)
{
	unofferedLevel.reset();
	if (GetDefaultLevel() != LevelCodes::Custom) {
		if (RollDownPalette* palette = GetPalette(); palette != nullptr && palette->GetPage5() != nullptr)
			palette->GetPage5()->RefreshCommand();
	}
	UpdateTitle();
}

void RollDownDialogGeneralPage3::PanelResized(const DG::PanelResizeEvent& ev)
{
	if (ev.GetSource() != this)
		return;
	const ResourceModuleScope scope;
	{
		const MoveResizeScope moving(*this);
		const short width = GetWidth();
		DG::Rect rect = levels.GetRect();
		if (width <= WidthThreshold(Strings, NarrowUpTo)) {
			label.Hide();
			rect.left = 30;
			rect.right = static_cast<short>(width - 30);
		} else {
			label.Show();
			rect.left = static_cast<short>(label.GetRect().right + 10);
			rect.right = static_cast<short>(width - 20);
		}
		levels.SetRect(rect);
	}
	UpdateTitle();
}

void RollDownDialogGeneralPage3::UpdateTitle() const
{
	const ResourceModuleScope scope;
	std::string title = LevelName(GetDefaultLevel());
	if (GetWidth() > WidthThreshold(Strings, NarrowUpTo))
		title = LoadResourceString(Strings, TitleLabel) + title;
	SetRollPanelTitle(2, title);
}

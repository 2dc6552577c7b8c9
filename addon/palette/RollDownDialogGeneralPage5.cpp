// Page 5's Refresh command.
#include "palette/RollDownDialogGeneralPage5.hpp"

#include "palette/RollDownDialogGeneralPage1.hpp"
#include "palette/RollDownDialogGeneralPage2.hpp"
#include "palette/RollDownDialogGeneralPage3.hpp"
#include "palette/RollDownDialogGeneralPage4.hpp"
#include "palette/RollDownPalette.hpp"
#include "shell/Preferences.hpp"

namespace {
constexpr short PageResource = 32514;
constexpr short PageHeight = 30;

// Gives the palette's items back however the command ends.
class ItemsDisabled {
public:
	explicit ItemsDisabled(DG::Panel& panel) : palette(panel) { palette.DisableItems(); }
	~ItemsDisabled() { palette.EnableItems(); }
	ItemsDisabled(const ItemsDisabled&) = delete;
	ItemsDisabled& operator=(const ItemsDisabled&) = delete;

private:
	DG::Panel& palette;
};
} // namespace

RollDownDialogGeneralPage5::RollDownDialogGeneralPage5(const DG::TabControl& control)
	: RollDownDialogGeneralPage(control, PageResource),
	  selectButton(*this, 1),
	  refreshButton(*this, 2),
	  setLevelButton(*this, 3),
	  polygonCount(*this, 4)
{
	SetHeight(PageHeight);
	refreshButton.Attach(*this);
}

RollDownDialogGeneralPage5::~RollDownDialogGeneralPage5() { refreshButton.Detach(*this); }

void RollDownDialogGeneralPage5::ButtonClicked(const DG::ButtonClickEvent& ev)
{
	if (ev.GetSource() == &refreshButton)
		RefreshCommand();
}

void RollDownDialogGeneralPage5::RefreshCommand()
{
	RollDownPalette* palette = GetPalette();
	if (palette == nullptr || !palette->IsValid())
		return;
	const ItemsDisabled busy(*palette);
	Preferences& preferences = GetPreferences();
	preferences.selectionOnly = palette->GetPage2()->IsSelectionOnly();
	preferences.allStories = palette->GetPage1()->IsAllStories();
	preferences.fromStory = palette->GetPage1()->GetFromStory();
	preferences.toStory = palette->GetPage1()->GetToStory();
	preferences.defaultLevel = palette->GetPage3()->GetDefaultLevel();
	palette->GetPage4()->Refresh();
}

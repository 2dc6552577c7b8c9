// Page 5: the three commands, the polygon line and the button layout.
#include "palette/RollDownDialogGeneralPage5.hpp"

#include "counting/CountResult.hpp"
#include "counting/NumberFormat.hpp"
#include "counting/SelectCountedElements.hpp"
#include "lod/SetLevelOfDetailCommand.hpp"
#include "palette/RollDownDialogGeneralPage1.hpp"
#include "palette/RollDownDialogGeneralPage2.hpp"
#include "palette/RollDownDialogGeneralPage3.hpp"
#include "palette/RollDownDialogGeneralPage4.hpp"
#include "palette/RollDownPalette.hpp"
#include "shell/Preferences.hpp"
#include "shell/ResourceModuleScope.hpp"

#include <algorithm>

namespace {
constexpr short PageResource = 32514;
constexpr short PageHeight = 30;
constexpr short Strings = 146;
constexpr short PolygonLine = 1;

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

bool Complete(const RollDownPalette* palette)
{
	return palette != nullptr && palette->GetPage1() != nullptr && palette->GetPage2() != nullptr &&
		palette->GetPage3() != nullptr && palette->GetPage4() != nullptr;
}
} // namespace

RollDownDialogGeneralPage5::RollDownDialogGeneralPage5(const DG::TabControl& control)
	: RollDownDialogGeneralPage(control, PageResource), selectButton(*this, 1), refreshButton(*this, 2),
	  setLevelButton(*this, 3), polygonCount(*this, 4)
{
	SetHeight(PageHeight);
	selectButton.Attach(*this);
	refreshButton.Attach(*this);
	setLevelButton.Attach(*this);
}

RollDownDialogGeneralPage5::~RollDownDialogGeneralPage5()
{
	selectButton.Detach(*this);
	refreshButton.Detach(*this);
	setLevelButton.Detach(*this);
}

void RollDownDialogGeneralPage5::ButtonClicked(const DG::ButtonClickEvent& ev)
{
	// A button's handler has no one to hand a failure to; what the command did stays shown.
	try {
		if (ev.GetSource() == &selectButton) {
			SelectCommand();
		} else if (ev.GetSource() == &refreshButton) {
			RefreshCommand();
		} else if (ev.GetSource() == &setLevelButton) {
			RollDownPalette* palette = GetPalette();
			if (palette != nullptr && palette->GetPage4() != nullptr)
				SetLevelOfDetailCommand(*palette->GetPage4());
		}
	} catch (...) {
	}
}

void RollDownDialogGeneralPage5::RefreshCommand()
{
	RollDownPalette* palette = GetPalette();
	if (!Complete(palette))
		return;
	const ItemsDisabled busy(*palette);
	Preferences& preferences = GetPreferences();
	preferences.selectionOnly = palette->GetPage2()->IsSelectionOnly();
	preferences.allStories = palette->GetPage1()->IsAllStories();
	preferences.fromStory = palette->GetPage1()->GetFromStory();
	preferences.toStory = palette->GetPage1()->GetToStory();
	preferences.defaultLevel = palette->GetPage3()->GetDefaultLevel();
	try {
		palette->GetPage4()->Refresh();
	} catch (...) {
		UpdatePolygonCount();
		throw;
	}
	UpdatePolygonCount();
}

void RollDownDialogGeneralPage5::SelectCommand()
{
	RollDownPalette* palette = GetPalette();
	if (!Complete(palette))
		return;
	const ItemsDisabled busy(*palette);
	const RollDownDialogGeneralPage1& stories = *palette->GetPage1();
	SelectCountedElements(palette->GetPage4()->GetList(), palette->GetPage2()->IsSelectionOnly(),
		stories.IsAllStories(), stories.GetFromStory(), stories.GetToStory());
}

void RollDownDialogGeneralPage5::UpdatePolygonCount()
{
	const ResourceModuleScope scope;
	std::string line = LoadResourceString(Strings, PolygonLine);
	const CountResult* result = CurrentCountResult();
	line +=
		result != nullptr ? FormatCount(static_cast<std::uint32_t>(std::max(0, result->totalPolygons))).ToStd() : "0";
	polygonCount.SetText("");
	polygonCount.SetText(line);
}

void RollDownDialogGeneralPage5::PanelResized(const DG::PanelResizeEvent& ev)
{
	if (ev.GetSource() != this)
		return;
	DG::Dialog* palette = GetParentDialog();
	if (palette == nullptr)
		return;
	palette->BeginMoveResizeItems();
	const std::int32_t w1 = selectButton.GetWidth();
	const std::int32_t w2 = refreshButton.GetWidth();
	const std::int32_t w3 = setLevelButton.GetWidth();
	// The remainder of the division stays at the right edge; a palette narrower than the
	// buttons gives a negative gap and they overlap, keeping their widths.
	const std::int32_t gap = (palette->GetClientWidth() - w1 - w2 - w3) / 4;
	const DG::Rect select = selectButton.GetRect();
	auto place = [&select](DG::Button& button, std::int32_t left, std::int32_t width) {
		button.SetRect(
			DG::Rect {static_cast<short>(left), select.top, static_cast<short>(left + width), select.bottom});
	};
	place(selectButton, gap, w1);
	place(refreshButton, 2 * gap + w1, w2);
	place(setLevelButton, 3 * gap + w1 + w2, w3);
	setLevelButton.Show();
	setLevelButton.Redraw();
	polygonCount.SetPosition(DG::Point {static_cast<short>(gap), polygonCount.GetPosition().y});
	palette->EndMoveResizeItems();
}

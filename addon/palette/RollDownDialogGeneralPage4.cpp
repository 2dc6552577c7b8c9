// Page 4: Refresh, folding by the triangle, the double click, and following the page's size.
#include "palette/RollDownDialogGeneralPage4.hpp"

#include "counting/CountResult.hpp"
#include "counting/CountingRun.hpp"
#include "lod/SetLevelOfDetailCommand.hpp"
#include "palette/RollDownDialogGeneralPage3.hpp"
#include "palette/RollDownPalette.hpp"
#include "shell/Preferences.hpp"

#include <exception>

namespace {
constexpr short PageResource = 32513;
constexpr short PageHeight = 480;
// The list leaves room for the headers above it and a margin at the right.
constexpr short ListHeaderRoom = 24;
constexpr short ListRightMargin = 4;

bool WithModifier(const DG::ListBoxMouseEvent& ev)
{
	return ev.IsCommandPressed() || ev.IsOptionPressed();
}
} // namespace

RollDownDialogGeneralPage4::RollDownDialogGeneralPage4(const DG::TabControl& control)
	: RollDownDialogGeneralPage(control, PageResource), list(*this)
{
	SetHeight(PageHeight);
	list.Attach(static_cast<DG::ListBoxObserver&>(*this));
	list.Show();
}

RollDownDialogGeneralPage4::~RollDownDialogGeneralPage4()
{
	list.Detach(static_cast<DG::ListBoxObserver&>(*this));
}

void RollDownDialogGeneralPage4::Refresh()
{
	const int scrollPosition = list.GetScrollPosition();
	list.DeleteItem(DG::ListBox::AllItems);
	std::exception_ptr failure;
	try {
		CountingRun();
	} catch (...) {
		// Counted as a stop: the result before stays current and is shown below.
		failure = std::current_exception();
	}
	Preferences& preferences = GetPreferences();
	const CountResult* result = CurrentCountResult();
	if (result != nullptr) {
		StoreRowLevels(preferences);
		list.Fill(*result);
		list.SetScrollPosition(scrollPosition);
	}
	RollDownPalette* palette = GetPalette();
	if (palette != nullptr && palette->GetPage3() != nullptr)
		palette->GetPage3()->SelectDefaultLevel(
			result != nullptr ? preferences.defaultLevel : GetStoredPreferences().StoredDefaultLevel());
	if (failure)
		std::rethrow_exception(failure);
}

void RollDownDialogGeneralPage4::RefillDetailLevels()
{
	list.RefillDetailLevels(GetPreferences().levelTable);
}

void RollDownDialogGeneralPage4::PanelResized(const DG::PanelResizeEvent& ev)
{
	if (ev.GetSource() != this)
		return;
	{
		const MoveResizeScope moving(*this);
		const DG::Point corner = list.GetPosition();
		list.SetRect(DG::Rect::FromSize(corner.x, corner.y, static_cast<short>(GetWidth() - ListRightMargin),
			static_cast<short>(GetHeight() - ListHeaderRoom)));
	}
	const MoveResizeScope moving(*this);
	list.LayoutColumns();
}

void RollDownDialogGeneralPage4::ListBoxClicked(const DG::ListBoxClickEvent& ev)
{
	const short x = ev.GetMouseOffset().x;
	if (x < list.GetTabFieldBeginPosition(SizeListFields::FoldIcon) ||
		x > list.GetTabFieldEndPosition(SizeListFields::FoldIcon) || WithModifier(ev))
		return;
	const int item = ev.GetListItem();
	if (list.IsExpandedRow(item)) {
		list.Fold(item);
	} else if (list.IsCollapsedRow(item)) {
		if (const CountResult* result = CurrentCountResult())
			list.Unfold(item, *result);
	}
}

void RollDownDialogGeneralPage4::ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& ev)
{
	if (ev.GetMouseOffset().x <= list.GetTabFieldBeginPosition(SizeListFields::Name) || WithModifier(ev))
		return;
	try {
		SetLevelOfDetailCommand(*this);
	} catch (...) {
		// A failed command leaves the palette as the command left it; the next Refresh counts again.
	}
}

// Page 2: the selection or the entire project, and its title.
#include "palette/RollDownDialogGeneralPage2.hpp"

#include "shell/ResourceModuleScope.hpp"

namespace {
constexpr short PageResource = 32511;
constexpr short Strings = 143;
constexpr short TitleLabel = 1;
constexpr short SelectionOnlyText = 2;
constexpr short EntireProjectText = 3;
constexpr short LabelFrom = 4;
} // namespace

RollDownDialogGeneralPage2::RollDownDialogGeneralPage2(const DG::TabControl& control)
	: RollDownDialogGeneralPage(control, PageResource), selectionOnly(*this, 1), entireProject(*this, 2)
{
	selectionOnly.Select();
	selectionOnly.Attach(*this);
	entireProject.Attach(*this);
}

RollDownDialogGeneralPage2::~RollDownDialogGeneralPage2()
{
	selectionOnly.Detach(*this);
	entireProject.Detach(*this);
}

bool RollDownDialogGeneralPage2::IsSelectionOnly() const
{
	return selectionOnly.IsSelected();
}

void RollDownDialogGeneralPage2::RadioItemChanged(const DG::RadioItemChangeEvent&)
{
	UpdateTitle();
}

void RollDownDialogGeneralPage2::PanelResized(const DG::PanelResizeEvent& ev)
{
	if (ev.GetSource() == this)
		UpdateTitle();
}

void RollDownDialogGeneralPage2::UpdateTitle() const
{
	const ResourceModuleScope scope;
	std::string value = LoadResourceString(Strings, IsSelectionOnly() ? SelectionOnlyText : EntireProjectText);
	if (GetWidth() >= WidthThreshold(Strings, LabelFrom))
		value = LoadResourceString(Strings, TitleLabel) + value;
	SetRollPanelTitle(1, value);
}

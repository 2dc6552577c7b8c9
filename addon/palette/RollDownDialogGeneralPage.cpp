// The page base: building on the panel's tab control, and reaching the palette and the roll
// panel whose title summarises the page.
#include "palette/RollDownDialogGeneralPage.hpp"

#include "palette/RollDownPalette.hpp"
#include "shell/ResourceModuleScope.hpp"

#include "UD/RollDownSurface.hpp"
#include "VX/String.hpp"

#include <cstdio>

RollDownDialogGeneralPage::RollDownDialogGeneralPage(const DG::TabControl& control, short resourceId)
	: DG::TabPage(control, 1, DG::ActiveResourceModule, resourceId)
{
	Attach(*this);
}

RollDownDialogGeneralPage::~RollDownDialogGeneralPage()
{
	Detach(*this);
}

RollDownPalette* RollDownDialogGeneralPage::GetPalette() const
{
	return dynamic_cast<RollDownPalette*>(GetParentDialog());
}

void RollDownDialogGeneralPage::SetRollPanelTitle(short position, const std::string& title) const
{
	const RollDownPalette* palette = GetPalette();
	UD::IRollDownSurface* surface = palette != nullptr ? palette->GetRollDownSurface() : nullptr;
	UD::RollDownPanelSet* set = surface != nullptr ? surface->GetActiveRollDownPanelSet() : nullptr;
	if (set == nullptr)
		return;
	const std::vector<UD::RollDownPanel*> panels = set->EnumerateRollDownPanels();
	if (position >= 0 && static_cast<std::size_t>(position) < panels.size())
		panels[static_cast<std::size_t>(position)]->SetTitle(VX::String(title));
}

short RollDownDialogGeneralPage::WidthThreshold(short stringList, short item)
{
	short threshold = 0;
	std::sscanf(LoadResourceString(stringList, item).c_str(), "%hd", &threshold);
	return threshold;
}

RollDownDialogGeneralPage::MoveResizeScope::MoveResizeScope(const RollDownDialogGeneralPage& page)
	: palette(page.GetParentDialog())
{
	if (palette != nullptr)
		palette->BeginMoveResizeItems();
}

RollDownDialogGeneralPage::MoveResizeScope::~MoveResizeScope()
{
	if (palette != nullptr)
		palette->EndMoveResizeItems();
}

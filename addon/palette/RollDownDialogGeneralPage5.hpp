// Page 5 of the palette, the commands, in its first form: its buttons, of which Refresh
// works, storing the filter pages' settings into the preferences and recounting.
#pragma once

#include "palette/RollDownDialogGeneralPage.hpp"

class RollDownDialogGeneralPage5 : public RollDownDialogGeneralPage, public DG::ButtonItemObserver {
public:
	explicit RollDownDialogGeneralPage5(const DG::TabControl& control);
	~RollDownDialogGeneralPage5() override;

	// With the palette's items disabled: stores the settings of pages 1 to 3 into the
	// preferences and runs page 4's Refresh.
	void RefreshCommand();

	void ButtonClicked(const DG::ButtonClickEvent& ev) override;

private:
	DG::Button selectButton;
	DG::Button refreshButton;
	DG::Button setLevelButton;
	DG::RightText polygonCount;
};

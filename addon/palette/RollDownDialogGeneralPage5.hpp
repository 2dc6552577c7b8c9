// Page 5 of the palette, the commands: Select, Refresh and Set Level of Detail, and the line
// with the total number of polygons. While Select or Refresh runs the palette's items are
// disabled; they come back however the command ends. The buttons share the palette's free
// width as four equal gaps.
#pragma once

#include "palette/RollDownDialogGeneralPage.hpp"

class RollDownDialogGeneralPage5 : public RollDownDialogGeneralPage, public DG::ButtonItemObserver {
public:
	explicit RollDownDialogGeneralPage5(const DG::TabControl& control);
	~RollDownDialogGeneralPage5() override;

	// Stores the settings of pages 1 to 3 into the preferences, runs page 4's Refresh and
	// rewrites the polygon line, also when the run is stopped or fails (a failure goes on to
	// the caller).
	void RefreshCommand();
	// Selects in the host the elements behind the marked rows of page 4's list.
	void SelectCommand();
	// "Number of polygons : " and the current count result's total, "0" without one.
	void UpdatePolygonCount();

	void ButtonClicked(const DG::ButtonClickEvent& ev) override;
	void PanelResized(const DG::PanelResizeEvent& ev) override;

private:
	DG::Button selectButton;
	DG::Button refreshButton;
	DG::Button setLevelButton;
	DG::RightText polygonCount;
};

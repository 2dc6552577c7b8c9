// Page 2 of the palette: whether a counting run visits the selected elements only or the
// entire project. The roll panel's title names the choice, without its label when narrow.
#pragma once

#include "palette/RollDownDialogGeneralPage.hpp"

class RollDownDialogGeneralPage2 : public RollDownDialogGeneralPage, public DG::RadioItemObserver {
public:
	// Starts with the selection only.
	explicit RollDownDialogGeneralPage2(const DG::TabControl& control);
	~RollDownDialogGeneralPage2() override;

	bool IsSelectionOnly() const;

	void PanelResized(const DG::PanelResizeEvent& ev) override;
	void RadioItemChanged(const DG::RadioItemChangeEvent& ev) override;

private:
	void UpdateTitle() const;

	DG::RadioButton selectionOnly;
	DG::RadioButton entireProject;
};

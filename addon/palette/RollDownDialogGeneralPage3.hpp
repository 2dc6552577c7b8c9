// Page 3 of the palette: the default level of detail, given to library parts whose chosen
// level is "Default". Choosing a level other than Custom recounts at once; the roll panel's
// title names the level, without its label when narrow, where the pop-up also takes the
// label's place.
#pragma once

#include "palette/RollDownDialogGeneralPage.hpp"

class RollDownDialogGeneralPage3 : public RollDownDialogGeneralPage, public DG::PopUpObserver {
public:
	// Offers Detailed, Simple, Off and Custom and starts with the current result's default
	// level, or else the one stored in the project.
	explicit RollDownDialogGeneralPage3(const DG::TabControl& control);
	~RollDownDialogGeneralPage3() override;

	// The chosen level code (0 to 3).
	short GetDefaultLevel() const;
	// Chooses the level as code does (no event); a code outside 0 to 3 shows as Custom.
	void SelectDefaultLevel(short level);

	void PanelResized(const DG::PanelResizeEvent& ev) override;
	void PopUpChanged(const DG::PopUpChangeEvent& ev) override;

private:
	void UpdateTitle() const;

	DG::LeftText label;
	DG::PopUp levels;
};

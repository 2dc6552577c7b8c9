// Page 1 of the palette: which stories a counting run visits, all of them or a range of the
// story numbers the user sees. The from edit never exceeds the to edit; the roll panel's
// title names the choice; a narrow palette hides the from button's text and pulls the edits in.
#pragma once

#include "palette/RollDownDialogGeneralPage.hpp"

#include <cstdint>

class RollDownDialogGeneralPage1 : public RollDownDialogGeneralPage,
								   public DG::RadioItemObserver,
								   public DG::IntEditObserver {
public:
	// Takes the project's story range from the host and starts with all stories.
	explicit RollDownDialogGeneralPage1(const DG::TabControl& control);
	~RollDownDialogGeneralPage1() override;

	bool IsAllStories() const;
	// The project's first and last story when all stories are chosen, else the edits.
	std::int32_t GetFromStory() const;
	std::int32_t GetToStory() const;

	void PanelOpened(const DG::PanelOpenEvent& ev) override;
	void PanelResized(const DG::PanelResizeEvent& ev) override;
	void RadioItemChanged(const DG::RadioItemChangeEvent& ev) override;
	void IntEditChanged(const DG::IntEditChangeEvent& ev) override;

private:
	void UpdateTitle() const;

	DG::RadioButton allStories;
	DG::RadioButton fromStoryButton;
	DG::IntEdit fromStory;
	DG::CenterText toText;
	DG::IntEdit toStory;
	std::int32_t firstStoryNumber = 0;
	std::int32_t lastStoryNumber = 0;
};

// A story index as the user sees it: counted from 1 when the project has no story zero;
// negative indexes are shown as they are.
std::int32_t ShownStoryNumber(std::int16_t index, std::uint8_t noStoryZero);

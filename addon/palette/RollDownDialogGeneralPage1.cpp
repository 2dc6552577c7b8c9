// Page 1: the story range, its guard, its title and its two layouts.
#include "palette/RollDownDialogGeneralPage1.hpp"

#include "shell/HostCalls.hpp"
#include "shell/ResourceModuleScope.hpp"

#include "VX/Memory.hpp"

#include <cstring>

namespace {
constexpr short PageResource = 32510;
constexpr short Strings = 142;
constexpr short FromStoryText = 1;
constexpr short NarrowBelow = 2;
constexpr short TitleLabel = 3;
constexpr short AllStoriesText = 5;
constexpr short OneStoryText = 6;
constexpr short RangeText = 7;
constexpr short RangeAnd = 8;
} // namespace

std::int32_t ShownStoryNumber(std::int16_t index, std::uint8_t noStoryZero)
{
	return index >= 0 ? index + (noStoryZero == 1 ? 1 : 0) : index;
}

RollDownDialogGeneralPage1::RollDownDialogGeneralPage1(const DG::TabControl& control)
	: RollDownDialogGeneralPage(control, PageResource), allStories(*this, 1), fromStoryButton(*this, 2),
	  fromStory(*this, 3), toText(*this, 4), toStory(*this, 5)
{
	HostSdk::StoryRecord stories;
	std::memset(static_cast<void*>(&stories), 0, sizeof stories);
	HostCalls::GetStoryInfo(&stories);
	firstStoryNumber = ShownStoryNumber(stories.firstStory, stories.noStoryZero);
	lastStoryNumber = ShownStoryNumber(stories.lastStory, stories.noStoryZero);
	VX::FreeHandle(stories.dataHandle);
	fromStory.SetValue(firstStoryNumber);
	toStory.SetValue(lastStoryNumber);

	allStories.Select();
	allStories.Attach(*this);
	fromStoryButton.Attach(*this);
	fromStory.Attach(*this);
	toStory.Attach(*this);
}

RollDownDialogGeneralPage1::~RollDownDialogGeneralPage1()
{
	allStories.Detach(*this);
	fromStoryButton.Detach(*this);
	fromStory.Detach(*this);
	toStory.Detach(*this);
}

bool RollDownDialogGeneralPage1::IsAllStories() const
{
	return allStories.IsSelected();
}
std::int32_t RollDownDialogGeneralPage1::GetFromStory() const
{
	return IsAllStories() ? firstStoryNumber : fromStory.GetValue();
}
std::int32_t RollDownDialogGeneralPage1::GetToStory() const
{
	return IsAllStories() ? lastStoryNumber : toStory.GetValue();
}

void RollDownDialogGeneralPage1::PanelOpened(const DG::PanelOpenEvent&)
{
	fromStory.Disable();
	toStory.Disable();
}

void RollDownDialogGeneralPage1::RadioItemChanged(const DG::RadioItemChangeEvent&)
{
	const bool editable = !allStories.IsSelected();
	fromStory.SetStatus(editable);
	toStory.SetStatus(editable);
	UpdateTitle();
}

void RollDownDialogGeneralPage1::IntEditChanged(const DG::IntEditChangeEvent& ev)
{
	if (ev.GetSource() == &fromStory && fromStory.GetValue() > toStory.GetValue())
		fromStory.SetValue(ev.GetPreviousValue());
	else if (ev.GetSource() == &toStory && toStory.GetValue() < fromStory.GetValue())
		toStory.SetValue(ev.GetPreviousValue());
	UpdateTitle();
}

void RollDownDialogGeneralPage1::PanelResized(const DG::PanelResizeEvent& ev)
{
	if (ev.GetSource() != this)
		return;
	const ResourceModuleScope scope;
	{
		const MoveResizeScope moving(*this);
		const short width = GetWidth();
		// The edits keep their vertical place: this library reports the place they were given.
		const short fromY = fromStory.GetPosition().y;
		const short toTextY = toText.GetPosition().y;
		const short toY = toStory.GetPosition().y;
		const bool narrow = width < WidthThreshold(Strings, NarrowBelow);
		const short fromX = narrow ? 30 : 127;
		const short toTextX = narrow ? 73 : 170;
		const short toX = narrow ? 103 : 200;
		fromStoryButton.SetText(narrow ? std::string() : LoadResourceString(Strings, FromStoryText));
		fromStoryButton.SetSize(narrow ? 18 : 110, 18);
		fromStory.SetRect(DG::Rect::FromSize(fromX, fromY, 35, 18));
		toText.SetRect(DG::Rect::FromSize(toTextX, toTextY, 20, 18));
		toStory.SetRect(DG::Rect::FromSize(toX, toY, 35, 18));
	}
	UpdateTitle();
}

void RollDownDialogGeneralPage1::UpdateTitle() const
{
	const ResourceModuleScope scope;
	std::string title = LoadResourceString(Strings, TitleLabel);
	if (IsAllStories())
		title += LoadResourceString(Strings, AllStoriesText);
	else if (fromStory.GetValue() == toStory.GetValue())
		title += LoadResourceString(Strings, OneStoryText) + std::to_string(fromStory.GetValue());
	else
		title += LoadResourceString(Strings, RangeText) + std::to_string(fromStory.GetValue()) +
			LoadResourceString(Strings, RangeAnd) + std::to_string(toStory.GetValue());
	SetRollPanelTitle(0, title);
}

// The story filter and the conversion of typed story numbers into story indexes.
#include "counting/StoryFilter.hpp"

#include "counting/SelectionBuilder.hpp"
#include "shell/HostCalls.hpp"

#include "VX/Memory.hpp"

StoryIndexRange TypedStoryRange(std::int32_t firstTyped, std::int32_t lastTyped, std::uint8_t noStoryZero)
{
	// A byte other than 0 and 1 would shift every story: only 1 means "no story zero".
	const std::int32_t shift = noStoryZero == 1 ? 1 : 0;
	StoryIndexRange range;
	range.first = firstTyped > 0 ? firstTyped - shift : firstTyped;
	if (lastTyped > 0)
		range.last = lastTyped - shift;
	else if (lastTyped == 0)
		range.last = -shift;
	else
		range.last = lastTyped;
	return range;
}

StoryFilter::StoryFilter(
	bool allStoriesWanted, std::int32_t firstStory, std::int32_t lastStory, bool activeOnly, bool acceptEverything)
	: allStories(allStoriesWanted), activeStoryOnly(activeOnly), acceptAll(acceptEverything)
{
	HostSdk::StoryRecord record;
	HostSdk::ClearRecord(record);
	// The status is not looked at: a failed read leaves story 0 active and story zero shown.
	HostCalls::GetStoryInfo(&record);
	activeStory = record.activeStory;
	noStoryZero = record.noStoryZero;
	const StoryIndexRange range = TypedStoryRange(firstStory, lastStory, noStoryZero);
	firstStoryIndex = range.first;
	lastStoryIndex = range.last;
	VX::FreeHandle(record.dataHandle);
}

bool StoryFilter::Test(std::int16_t storyIndex) const
{
	if (acceptAll)
		return true;
	if (activeStoryOnly)
		return storyIndex == activeStory;
	if (allStories)
		return true;
	return firstStoryIndex <= storyIndex && storyIndex <= lastStoryIndex;
}

void StoryFilter::NoteStory(std::int16_t storyIndex)
{
	if (mixedStories)
		return;
	if (!storySeen) {
		firstStorySeen = storyIndex;
		storySeen = true;
	} else if (storyIndex != firstStorySeen) {
		mixedStories = true;
	}
}

void StoryFilter::GoToNotedStories() const
{
	constexpr std::int32_t FloorPlanWindow = 1;
	constexpr std::int32_t ModelWindow = 4;
	HostSdk::WindowRecord window;
	if (mixedStories) {
		std::memset(static_cast<void*>(&window), 0, sizeof window);
		window.kind = ModelWindow;
		HostCalls::ChangeWindow(&window);
		DeselectEverything();
		return;
	}
	std::memset(static_cast<void*>(&window), 0, sizeof window);
	if (HostCalls::GetWindowInfo(&window) == HostSdk::StatusOk && window.kind == ModelWindow) {
		std::memset(static_cast<void*>(&window), 0, sizeof window);
		window.kind = FloorPlanWindow;
		HostCalls::ChangeWindow(&window);
	}
	if (storySeen) {
		HostSdk::StoryChangeRecord change;
		std::memset(static_cast<void*>(&change), 0, sizeof change);
		change.kind = 0;
		change.story = firstStorySeen;
		HostCalls::ChangeStory(&change);
	}
}

// Which stories' elements take part in a counting run or a selection: all stories, a range of
// stories the user typed as the numbers they see, or, for a marquee selection, the active
// story only. The numbers the user sees start at 1 when the project has no story zero; the
// filter turns them back into the host's story indexes. It also notes the stories of the
// elements a selection takes, so the host can be brought to them afterwards.
#pragma once

#include <cstdint>

// The story indexes of a typed range, with noStoryZero the story record's byte (0 or 1): a
// positive number n stands for index n − noStoryZero, 0 for index 0 as the first story and
// −noStoryZero as the last, a negative number for itself.
struct StoryIndexRange {
	std::int32_t first = 0;
	std::int32_t last = 0;
};
StoryIndexRange TypedStoryRange(std::int32_t firstTyped, std::int32_t lastTyped, std::uint8_t noStoryZero);

class StoryFilter {
public:
	// Reads the host's story record (its active story and its no-story-zero byte) and releases
	// the record's data handle at once.
	StoryFilter(bool allStories, std::int32_t firstStory, std::int32_t lastStory, bool activeStoryOnly, bool acceptAll);

	// The first rule that applies: accept all; active story only (the active story alone);
	// all stories; otherwise the story lies in the range.
	bool Test(std::int16_t storyIndex) const;

	// Notes the story of an element taken: the first one is remembered, a later different one
	// marks the stories as mixed, after which nothing more is noted.
	void NoteStory(std::int16_t storyIndex);
	bool StorySeen() const { return storySeen; }
	bool MixedStories() const { return mixedStories; }
	std::int16_t FirstStorySeen() const { return firstStorySeen; }
	// Brings the host to the noted elements: elements on several stories are shown in the 3D
	// window (kind 4), with everything deselected; otherwise a 3D window gives way to the
	// floor plan (kind 1) and the noted story becomes the current one. The host's statuses
	// are not looked at.
	void GoToNotedStories() const;

	std::int32_t FirstStoryIndex() const { return firstStoryIndex; }
	std::int32_t LastStoryIndex() const { return lastStoryIndex; }
	std::int16_t ActiveStory() const { return activeStory; }
	std::uint8_t NoStoryZero() const { return noStoryZero; }

private:
	bool allStories = false;
	std::int32_t firstStoryIndex = 0;
	std::int32_t lastStoryIndex = 0;
	std::int16_t activeStory = 0;
	std::uint8_t noStoryZero = 0;
	bool activeStoryOnly = false;
	bool mixedStories = false;
	std::int16_t firstStorySeen = 0;
	bool storySeen = false;
	bool acceptAll = false;
};

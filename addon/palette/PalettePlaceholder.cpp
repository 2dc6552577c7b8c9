// The placeholder palette, its Refresh command, and the toggle that opens and closes it.
#include "palette/PalettePlaceholder.hpp"

#include "counting/CountResult.hpp"
#include "counting/CountingRun.hpp"
#include "lod/ReadDetailLevelFile.hpp"
#include "shell/EventHandlers.hpp"
#include "shell/HostCalls.hpp"
#include "shell/ModuleIdentity.hpp"
#include "shell/ModuleState.hpp"
#include "shell/Preferences.hpp"
#include "shell/ResourceModuleScope.hpp"
#include "shell/ShellServices.hpp"

#include "VX/Memory.hpp"

#include <cstring>
#include <stdexcept>

namespace {

// A story index as the user sees it: counted from 1 when the project has no story zero.
std::int32_t ShownStoryNumber(std::int16_t index, std::uint8_t noStoryZero)
{
	return index >= 0 ? index + (noStoryZero == 1 ? 1 : 0) : index;
}

} // namespace

PalettePlaceholder::PalettePlaceholder()
	: title(LoadResourceString(ModuleIdentity::AddOnInfoStringList, 1))
{
	if (title.empty()) {
		throw std::runtime_error("the palette's title is missing from the module's resources");
	}
	ReadDetailLevelFile();
	// The host's status is not looked at: a palette without project events still works.
	HostCalls::RegisterProjectEvents(HostSdk::ProjectEvents::AllMask, ProjectEventHandler);

	HostSdk::StoryRecord stories;
	HostSdk::ClearRecord(stories);
	HostCalls::GetStoryInfo(&stories);
	firstStoryNumber = ShownStoryNumber(stories.firstStory, stories.noStoryZero);
	lastStoryNumber = ShownStoryNumber(stories.lastStory, stories.noStoryZero);
	VX::FreeHandle(stories.dataHandle);

	settings.fromStory = firstStoryNumber;
	settings.toStory = lastStoryNumber;
	settings.defaultLevel =
		CurrentCountResult() != nullptr ? GetPreferences().defaultLevel : GetStoredPreferences().StoredDefaultLevel();
}

void PalettePlaceholder::Refresh()
{
	Preferences& preferences = GetPreferences();
	preferences.selectionOnly = settings.selectionOnly;
	preferences.allStories = settings.allStories;
	preferences.fromStory = settings.allStories ? firstStoryNumber : settings.fromStory;
	preferences.toStory = settings.allStories ? lastStoryNumber : settings.toStory;
	preferences.defaultLevel = settings.defaultLevel;
	CountingRun();
	StoreRowLevels(preferences);
	// The default-level pop-up follows the result, as the results page sets it.
	if (const CountResult* result = CurrentCountResult())
		settings.defaultLevel = result->defaultLod;
}

void TogglePalette()
{
	ModuleState& state = Module();
	if (state.palette != nullptr) {
		delete state.palette;
		state.palette = nullptr;
		SetPaletteShownMark(false);
		return;
	}
	try {
		const ResourceModuleScope scope;
		state.palette = new PalettePlaceholder();
	} catch (...) {
		// A palette that cannot be built stays closed.
		state.palette = nullptr;
		return;
	}
	try {
		state.palette->Refresh();
	} catch (...) {
		// The palette stays open with the result it had; the next Refresh counts again.
	}
	SetPaletteShownMark(true);
}

void DestroyPalette()
{
	ModuleState& state = Module();
	delete state.palette;
	state.palette = nullptr;
}

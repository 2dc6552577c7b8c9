// A stand-in for the roll-down palette until the real one is built: it has the palette's
// lifecycle (built inside the module's resource scope, the configuration file read, the
// module subscribed to the project events, shown by the menu mark) and, in place of its
// pages, the settings the filter pages would hold. Opening it runs the Refresh command, so
// choosing the menu command counts the project and writes the report. TogglePalette opens and
// closes it.
#pragma once

#include <cstdint>
#include <string>

// What the filter pages hold: the stories (all, or a range of the numbers the user sees), the
// selection or the entire project, and the default level of detail.
struct PaletteSettings {
	bool selectionOnly = true;
	bool allStories = true;
	// The two story edits; while all stories are chosen the project's whole range is used.
	std::int32_t fromStory = 0;
	std::int32_t toStory = 0;
	std::int16_t defaultLevel = 3;
};

class PalettePlaceholder {
public:
	// Reads its title from the module's resources (so it must be built inside a
	// ResourceModuleScope), reads the configuration file into the detail-level table,
	// subscribes the module to every project event and takes the settings the pages start
	// with: all stories with the project's story range, the selection, and the default level
	// of the current count result or else of the project's module data. Throws
	// std::runtime_error when the title cannot be read.
	PalettePlaceholder();
	~PalettePlaceholder() = default;
	PalettePlaceholder(const PalettePlaceholder&) = delete;
	PalettePlaceholder& operator=(const PalettePlaceholder&) = delete;

	const std::string& Title() const { return title; }

	// The settings, as a person changes them on the pages.
	PaletteSettings& Settings() { return settings; }
	// The project's story range in the numbers the user sees, taken when the palette was built.
	std::int32_t FirstStoryNumber() const { return firstStoryNumber; }
	std::int32_t LastStoryNumber() const { return lastStoryNumber; }

	// The Refresh command: stores the settings into the preferences, runs a counting run, and
	// writes the levels of the counted library parts back into the preferences.
	void Refresh();

private:
	std::string title;
	PaletteSettings settings;
	std::int32_t firstStoryNumber = 0;
	std::int32_t lastStoryNumber = 0;
};

// Opens the palette when it is closed, closes it when it is open; the menu mark follows.
// Opening runs the Refresh command. A palette that fails to build leaves the palette closed
// and the mark as it was; a refresh that fails leaves the palette open.
void TogglePalette();

// Destroys the open palette, if any, as the add-on's release does: without touching the
// menu mark, which the host is about to take away.
void DestroyPalette();

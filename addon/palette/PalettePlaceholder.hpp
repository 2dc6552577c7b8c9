// A stand-in for the roll-down palette until the real one is built: it has the palette's
// lifecycle (built inside the module's resource scope, subscribed to the project events,
// shown by the menu mark) and nothing of its pages. TogglePalette opens and closes it.
#pragma once

#include <string>

class PalettePlaceholder {
public:
	// Reads its title from the module's resources (so it must be built inside a
	// ResourceModuleScope) and subscribes the module to every project event. Throws
	// std::runtime_error when the title cannot be read.
	PalettePlaceholder();
	~PalettePlaceholder() = default;
	PalettePlaceholder(const PalettePlaceholder&) = delete;
	PalettePlaceholder& operator=(const PalettePlaceholder&) = delete;

	const std::string& Title() const { return title; }

private:
	std::string title;
};

// Opens the palette when it is closed, closes it when it is open; the menu mark follows.
// A palette that fails to build leaves the palette closed and the mark as it was.
void TogglePalette();

// Destroys the open palette, if any, as the add-on's release does: without touching the
// menu mark, which the host is about to take away.
void DestroyPalette();

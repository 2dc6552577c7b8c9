// An icon from a module's ICON resource. Headless, an icon is its resource id and the glyph
// text a text rendering shows for it. The empty icon has the resource id -1 (0xFFFF as 16 bits).
#pragma once

#include "DG/ResourceFormat.hpp"

#include <string>

namespace DG {

class Icon {
public:
	static constexpr short NoResource = -1;

	Icon() = default;
	// Loads icon resourceId of module. An icon whose resource cannot be read keeps its id (the
	// caller asked for that icon) and shows "?".
	Icon(ResourceModule module, short resourceId);
	// An icon with no resource, only a glyph: what an icon item of a dialog resource shows.
	static Icon FromGlyph(std::string glyph);

	short GetResourceId() const { return resourceId; }
	bool IsEmpty() const { return resourceId == NoResource && glyph == nullptr; }
	bool IsLoaded() const { return loaded; }
	const std::string& GetGlyph() const;
	short GetWidth() const { return width; }
	short GetHeight() const { return height; }

	friend bool operator==(const Icon& a, const Icon& b)
	{
		return a.resourceId == b.resourceId && a.glyph == b.glyph; // glyphs are kept once each
	}

private:
	short resourceId = NoResource;
	short width = 0;
	short height = 0;
	bool loaded = false;
	// Icons are copied into every row of a list, so the glyph is a pointer to the one copy of
	// its text the library keeps; null for none.
	const std::string* glyph = nullptr;
};

} // namespace DG

// Icons loaded from ICON resources.
#include "DG/Icon.hpp"

namespace DG {

Icon::Icon(ResourceModule module, short id) : resourceId(id)
{
	if (std::optional<IconDescription> icon = LoadIcon(module, id)) {
		width = icon->width;
		height = icon->height;
		glyph = icon->glyph;
		loaded = true;
	} else {
		glyph = "?";
	}
}

Icon Icon::FromGlyph(std::string text)
{
	Icon icon;
	icon.glyph = std::move(text);
	return icon;
}

} // namespace DG

// Icons loaded from ICON resources.
#include "DG/Icon.hpp"

#include <mutex>
#include <set>

namespace DG {

namespace {

// Every glyph text once, for the life of the process: a program shows few of them, and icons
// that are statics of other libraries may outlive this one's statics.
const std::string* KeptGlyph(std::string text)
{
	if (text.empty())
		return nullptr;
	static std::mutex mutex;
	static auto* glyphs = new std::set<std::string>;
	const std::lock_guard lock(mutex);
	return &*glyphs->insert(std::move(text)).first;
}

} // namespace

Icon::Icon(ResourceModule module, short id) : resourceId(id)
{
	if (std::optional<IconDescription> icon = LoadIcon(module, id)) {
		width = icon->width;
		height = icon->height;
		glyph = KeptGlyph(icon->glyph);
		loaded = true;
	} else {
		glyph = KeptGlyph("?");
	}
}

Icon Icon::FromGlyph(std::string text)
{
	Icon icon;
	icon.glyph = KeptGlyph(std::move(text));
	return icon;
}

const std::string& Icon::GetGlyph() const
{
	static const std::string none;
	return glyph != nullptr ? *glyph : none;
}

} // namespace DG

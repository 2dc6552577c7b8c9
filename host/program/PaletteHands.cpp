// Finding palettes, pages and items the way a person points at them.
#include "PaletteHands.hpp"

#include "UD/RollDownSurface.hpp"

#include <algorithm>
#include <cstdlib>

namespace ReferenceHost {

namespace {

std::string Trimmed(std::string_view text)
{
	const std::size_t first = text.find_first_not_of(' ');
	if (first == std::string_view::npos)
		return {};
	return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool ShowsOwnText(DG::ItemKind kind)
{
	using DG::ItemKind;
	return kind == ItemKind::Button || kind == ItemKind::RadioButton || kind == ItemKind::CheckBox ||
		kind == ItemKind::LeftText || kind == ItemKind::CenterText || kind == ItemKind::RightText;
}

const char* KindWord(DG::ItemKind kind)
{
	switch (kind) {
	case DG::ItemKind::Button: return "button";
	case DG::ItemKind::RadioButton: return "radio";
	case DG::ItemKind::CheckBox: return "checkbox";
	case DG::ItemKind::LeftText:
	case DG::ItemKind::CenterText:
	case DG::ItemKind::RightText: return "text";
	case DG::ItemKind::IntEdit: return "edit";
	case DG::ItemKind::PopUp: return "popup";
	case DG::ItemKind::SingleSelList:
	case DG::ItemKind::MultiSelList: return "list";
	default: return "item";
	}
}

std::string OwnText(const DG::Panel& page, short index)
{
	const DG::Item item(page, index);
	if (!ShowsOwnText(item.GetKind()))
		return {};
	std::string text;
	switch (item.GetKind()) {
	case DG::ItemKind::Button: text = DG::Button(page, index).GetText(); break;
	case DG::ItemKind::RadioButton: text = DG::RadioButton(page, index).GetText(); break;
	case DG::ItemKind::CheckBox: text = DG::CheckBox(page, index).GetText(); break;
	case DG::ItemKind::LeftText: text = DG::LeftText(page, index).GetText(); break;
	case DG::ItemKind::CenterText: text = DG::CenterText(page, index).GetText(); break;
	case DG::ItemKind::RightText: text = DG::RightText(page, index).GetText(); break;
	default: break;
	}
	return Trimmed(text);
}

// The text a person reads left of an item on its line: the nearest shown text ending at or
// before the item's left edge.
std::string LeftLabel(const DG::Panel& page, short index)
{
	const DG::Rect rect = DG::Item(page, index).GetRect();
	std::string label;
	short nearest = -1;
	for (short other = 1; other <= page.GetItemCount(); ++other) {
		const DG::Item candidate(page, other);
		const DG::Rect at = candidate.GetRect();
		if (other == index || !candidate.IsVisible() || std::abs(at.top - rect.top) >= 10 || at.right > rect.left + 2)
			continue;
		std::string text = OwnText(page, other);
		if (!text.empty() && at.right > nearest) {
			nearest = at.right;
			label = std::move(text);
		}
	}
	return label;
}

// Whether the item is named so: by the text it shows (pass 0), else by its label, its
// choice or its kind and place (pass 1).
bool Named(const DG::Panel& page, short index, std::string_view name, int ordinal, int pass)
{
	const DG::Item item(page, index);
	const std::string wanted = Trimmed(name);
	if (pass == 0)
		return item.IsVisible() && ShowsOwnText(item.GetKind()) && OwnText(page, index) == wanted;
	if (name == std::string(KindWord(item.GetKind())) + "#" + std::to_string(ordinal))
		return true;
	if (!item.IsVisible() || ShowsOwnText(item.GetKind()))
		return false;
	if (item.GetKind() == DG::ItemKind::PopUp) {
		const DG::PopUp popUp(page, index);
		if (popUp.GetSelectedItem() > 0 && popUp.GetItemText(popUp.GetSelectedItem()) == wanted)
			return true;
	}
	return LeftLabel(page, index) == wanted;
}

} // namespace

DG::Dialog* FindOpenPalette(Host& host, std::string* why, const AddOn* owner)
{
	for (const PaletteRegistration& registration : host.Palettes().Registered()) {
		if (owner != nullptr && registration.owner != owner)
			continue;
		if (auto* dialog = dynamic_cast<DG::Dialog*>(DG::FindPanel(static_cast<short>(registration.panelId))))
			return dialog;
	}
	if (why != nullptr)
		*why = "no add-on palette is open";
	return nullptr;
}

std::vector<PalettePage> PalettePages(DG::Dialog& palette)
{
	std::vector<PalettePage> pages;
	const UD::RollDownSurface* surface = UD::FindRollDownSurface(palette);
	if (surface == nullptr) {
		pages.push_back(PalettePage {1, &palette, nullptr});
		return pages;
	}
	for (UD::RollDownPanel* panel : surface->ShownPanels())
		pages.push_back(PalettePage {static_cast<int>(pages.size()) + 1, panel->GetPage(), panel});
	return pages;
}

std::optional<PalettePage> FindPalettePanel(DG::Dialog& palette, std::string_view name, std::string& problem)
{
	for (const PalettePage& page : PalettePages(palette)) {
		if (page.rollPanel == nullptr)
			continue;
		const std::string& title = page.rollPanel->GetTitle();
		if (name == std::to_string(page.number) || (!name.empty() && title.compare(0, name.size(), name) == 0))
			return page;
	}
	problem = "the palette has no panel \"" + std::string(name) + "\"";
	return std::nullopt;
}

std::optional<PaletteItem> FindPaletteItem(DG::Dialog& palette, std::string_view name, int pageNumber,
	const std::vector<DG::ItemKind>& kinds, std::string& problem)
{
	std::string rolledUp;
	for (int pass = 0; pass < 2; ++pass) {
		for (const PalettePage& page : PalettePages(palette)) {
			if (page.panel == nullptr || (pageNumber != 0 && page.number != pageNumber))
				continue;
			for (short index = 1; index <= page.panel->GetItemCount(); ++index) {
				const DG::ItemKind kind = DG::Item(*page.panel, index).GetKind();
				if (!kinds.empty() && std::find(kinds.begin(), kinds.end(), kind) == kinds.end())
					continue;
				// Its place among the page's items of its kind, for names like "edit#2".
				int ordinal = 0;
				for (short before = 1; before <= index; ++before)
					if (std::string_view(KindWord(DG::Item(*page.panel, before).GetKind())) == KindWord(kind))
						++ordinal;
				if (!Named(*page.panel, index, name, ordinal, pass))
					continue;
				if (page.rollPanel != nullptr && !page.rollPanel->IsRolledDown()) {
					if (rolledUp.empty())
						rolledUp = "\"" + std::string(name) + "\" is on the panel \"" + page.rollPanel->GetTitle() +
							"\", which is rolled up";
					continue;
				}
				return PaletteItem {page, index, kind};
			}
		}
	}
	problem = !rolledUp.empty()
		? rolledUp
		: "the palette shows no " + std::string(kinds.size() == 1 ? KindWord(kinds.front()) : "item") + " \"" +
			std::string(name) + "\"" + (pageNumber != 0 ? " on page " + std::to_string(pageNumber) : std::string());
	return std::nullopt;
}

std::string PaletteItemName(const PaletteItem& item)
{
	std::string name = OwnText(*item.page.panel, item.index);
	if (name.empty())
		name = LeftLabel(*item.page.panel, item.index);
	return std::string(KindWord(item.kind)) + (name.empty() ? std::string() : " \"" + name + "\"") + " on page " +
		std::to_string(item.page.number);
}

} // namespace ReferenceHost

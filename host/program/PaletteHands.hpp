// A person's hands and eyes on the add-ons' palettes: which palette is open, its pages (the
// roll panels from top to bottom, the bottom panel last), and the items on them named as a
// person names them. Everything a person does goes through the dialog library's user layer,
// so the add-on gets exactly the events that person's action causes.
//
// Naming an item: the text it shows (a button, radio button, check box or static text, blanks
// at the ends not counted); an edit, a pop-up or a list, which show no label of their own, by
// the text standing left of them on the same line ("to" names the edit after it); a pop-up
// also by the choice it shows; and any item by its kind and place among the page's items of
// that kind ("edit#2", "popup#1", "button#3", "radio#1", "text#4", "checkbox#1", "list#1").
#pragma once

#include "Host.hpp"

#include "DG/Item.hpp"
#include "DG/Panel.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace UD {
class RollDownPanel;
}

namespace ReferenceHost {

// The page a person reads: a tab page of a roll panel, or the palette itself when it has no
// roll-down surface.
struct PalettePage {
	int number = 0;
	DG::Panel* panel = nullptr;
	UD::RollDownPanel* rollPanel = nullptr;
};

struct PaletteItem {
	PalettePage page;
	short index = 0;
	DG::ItemKind kind = DG::ItemKind::Button;
};

// The first registered palette (of the add-on, when given) whose panel lives; null, with why,
// when none is open.
DG::Dialog* FindOpenPalette(Host& host, std::string* why = nullptr, const AddOn* owner = nullptr);

std::vector<PalettePage> PalettePages(DG::Dialog& palette);

// A roll panel by its number from the top or the beginning of its title.
std::optional<PalettePage> FindPalettePanel(DG::Dialog& palette, std::string_view name, std::string& problem);

// The first item of one of the kinds (any kind when empty) named so, on the page (any page
// when 0). Items of rolled-up panels are not seen: asking for one names the panel.
std::optional<PaletteItem> FindPaletteItem(
	DG::Dialog& palette, std::string_view name, int page, const std::vector<DG::ItemKind>& kinds, std::string& problem);

// The name a person would give the item (its text or label), for messages.
std::string PaletteItemName(const PaletteItem& item);

} // namespace ReferenceHost

// A panel as plain data, for hosts that draw panels themselves (a web page, a screenshot): the
// panel's kind, title, size and state, and each item with its rectangle, text, state and the
// kind's own data, tab pages nested in their controls. Everything is copied out of the live
// panel, so a view stays readable after the panel changes or goes.
#pragma once
#include "DG/Geometry.hpp"
#include "DG/ListBox.hpp"
#include "DG/Panel.hpp"
#include "DG/ResourceFormat.hpp"
#include <cstdint>
#include <string>
#include <vector>

namespace DG {

struct ItemView;

struct PanelView {
	short id = 0;
	PanelKind kind = PanelKind::ModalDialog;
	bool valid = false;
	std::string problem;
	short resourceId = 0;
	std::string title;
	Point position;
	short width = 0;
	short height = 0;
	Dialog::GrowType growType = Dialog::NoGrow;
	bool closeBox = false;
	// A modal dialog that is open, a modeless one that is shown and processes events, a tab page
	// whose dialog is such.
	bool open = false;
	// Whether a person can use the items at all (not disabled as a whole, tab control usable).
	bool itemsReachable = false;
	short pageIndex = 0;
	std::vector<ItemView> items;
};

struct ListCellView {
	std::string text;
	short iconId = Icon::NoResource;
	std::string glyph;
};

struct ListRowView {
	std::vector<ListCellView> cells;
	bool selected = false;
	bool grayed = false;
};

struct TabFieldView {
	short begin = 0;
	short end = 0;
	ListBox::Justification justification = ListBox::Left;
	ListBox::Truncation truncation = ListBox::NoTruncate;
};

struct ItemView {
	short index = 0;
	ItemKind kind = ItemKind::Button;
	Rect rect;
	std::string text;
	bool visible = false;
	bool enabled = false;
	// Shown, enabled and reachable: a person's action on it would not be refused for its state.
	bool usable = false;
	// Check boxes and radio buttons.
	bool checked = false;
	std::uint16_t radioGroup = 0;
	// Int edits and user controls.
	std::int32_t value = 0;
	std::int32_t minimum = 0;
	std::int32_t maximum = 0;
	// Pop-ups: the texts and the selected one, from 1 (0 when empty).
	std::vector<std::string> popUpItems;
	short popUpSelection = 0;
	// Lists.
	bool multiSelection = false;
	std::vector<TabFieldView> fields;
	std::vector<ListRowView> rows;
	short scrollPosition = 1;
	// Icon items.
	short iconId = Icon::NoResource;
	std::string glyph;
	// Tab controls: their pages, in page order.
	std::vector<PanelView> pages;
};

PanelView ViewPanel(const Panel& panel);

// The windows a person sees now, in the order they were made: every open modal dialog and
// every shown modeless dialog and palette that processes events. Tab pages come inside them.
std::vector<PanelView> ViewShownPanels();

} // namespace DG

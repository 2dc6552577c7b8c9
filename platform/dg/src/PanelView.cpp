// Copies a live panel's state into a PanelView.
#include "DG/PanelView.hpp"

#include "World.hpp"

namespace DG {

using detail::ItemData;
using detail::PanelState;

namespace {

PanelView View(const PanelState& state);

ItemView ViewItem(const ItemData& item, short index, bool reachable)
{
	ItemView view;
	view.index = index;
	view.kind = item.kind;
	view.rect = item.rect;
	view.text = item.text;
	view.visible = item.visible;
	view.enabled = item.enabled;
	view.usable = item.visible && item.enabled && reachable;
	view.checked = item.checked;
	view.radioGroup = item.radioGroup;
	view.value = item.value;
	view.minimum = item.minimum;
	view.maximum = item.maximum;
	view.popUpItems = item.popUpItems;
	view.popUpSelection = item.popUpSelection;
	view.multiSelection = item.kind == ItemKind::MultiSelList;
	for (const detail::TabField& field : item.list.fields)
		view.fields.push_back({field.begin, field.end, field.justification, field.truncation});
	for (const detail::ListRow& row : item.list.rows) {
		ListRowView rowView;
		rowView.selected = row.selected;
		rowView.grayed = row.grayed;
		for (const detail::ListCell& cell : row.cells)
			rowView.cells.push_back({cell.text, cell.icon.GetResourceId(), cell.icon.GetGlyph()});
		view.rows.push_back(std::move(rowView));
	}
	view.scrollPosition = item.list.scrollPosition;
	view.iconId = item.icon.GetResourceId();
	view.glyph = item.icon.GetGlyph();
	for (detail::Serial page : item.tabPages) {
		if (const PanelState* pageState = detail::World::Get().FindPanel(page))
			view.pages.push_back(View(*pageState));
	}
	return view;
}

PanelView View(const PanelState& state)
{
	PanelView view;
	view.id = state.id;
	view.kind = state.kind;
	view.valid = state.valid;
	view.problem = state.problem;
	view.resourceId = state.resourceId;
	view.title = state.title;
	view.position = state.position;
	view.width = state.width;
	view.height = state.height;
	view.growType = state.growType;
	view.closeBox = state.closeType != Dialog::NoClose;
	view.open = detail::PanelAcceptsPerson(state);
	view.itemsReachable = view.open && detail::ItemsReachable(state);
	view.pageIndex = state.pageIndex;
	short index = 0;
	for (const ItemData& item : state.items)
		view.items.push_back(ViewItem(item, ++index, view.itemsReachable));
	return view;
}

} // namespace

PanelView ViewPanel(const Panel& panel)
{
	return View(detail::PanelAccess::State(panel));
}

std::vector<PanelView> ViewShownPanels()
{
	std::vector<PanelView> views;
	for (const auto& [serial, state] : detail::World::Get().Panels()) {
		if (state->kind != PanelKind::TabPage && state->valid && detail::PanelAcceptsPerson(*state))
			views.push_back(View(*state));
	}
	return views;
}

} // namespace DG

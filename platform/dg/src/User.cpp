// A person's actions on panels: each checks that a person could take it, changes what the
// action changes, and raises the events it raises. After every handler the panel is looked up
// again; once a handler has deleted it, the action ends without touching anything of it.
#include "DG/User.hpp"

#include "DG/ListBox.hpp"
#include "DG/Observers.hpp"
#include "ItemAttach.hpp"
#include "World.hpp"

#include <algorithm>
#include <charconv>
#include <climits>

namespace DG {

using detail::ItemData;
using detail::ObserverKind;
using detail::PanelState;
using detail::Serial;
using detail::World;

namespace {
std::string Describe(short index, const ItemData& item)
{
	std::string text = "item " + std::to_string(index) + " (" + ItemKindName(item.kind);
	if (!item.text.empty())
		text += " \"" + item.text + "\"";
	return text + ")";
}

// The panel if a person can act on it now.
PanelState* ReachPanel(Serial serial, std::string& problem)
{
	PanelState* state = World::Get().FindPanel(serial);
	if (state == nullptr) {
		problem = "the panel no longer exists";
		return nullptr;
	}
	return detail::PanelAcceptsPerson(*state, &problem) ? state : nullptr;
}

// The item if a person can use it now; kind checked when given.
ItemData* ReachItem(Serial serial, short index, std::string& problem, PanelState** panel = nullptr,
	std::initializer_list<ItemKind> kinds = {})
{
	PanelState* state = ReachPanel(serial, problem);
	if (state == nullptr)
		return nullptr;
	ItemData* item = state->FindItem(index);
	if (item == nullptr) {
		problem = "the panel has no item " + std::to_string(index);
		return nullptr;
	}
	if (kinds.size() != 0 && std::find(kinds.begin(), kinds.end(), item->kind) == kinds.end()) {
		problem = Describe(index, *item) + " cannot take this action";
		return nullptr;
	}
	if (!item->visible) {
		problem = Describe(index, *item) + " is hidden";
		return nullptr;
	}
	if (!item->enabled || !detail::ItemsReachable(*state)) {
		problem = Describe(index, *item) + " is disabled";
		return nullptr;
	}
	if (panel != nullptr)
		*panel = state;
	return item;
}

bool ParseWholeNumber(std::string_view text, std::int32_t& value)
{
	while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
		text.remove_prefix(1);
	while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
		text.remove_suffix(1);
	if (!text.empty() && text.front() == '+')
		text.remove_prefix(1);
	const char* end = text.data() + text.size();
	auto [stop, error] = std::from_chars(text.data(), end, value);
	return !text.empty() && error == std::errc() && stop == end;
}

// Rows far below the shown ones lie beyond the coordinates' range: they stay at its end.
short RowMiddle(const detail::ListData& list, int listItem)
{
	const long long middle =
		static_cast<long long>(listItem - list.scrollPosition) * ListBox::RowHeight + ListBox::RowHeight / 2;
	return static_cast<short>(std::clamp<long long>(middle, SHRT_MIN, SHRT_MAX));
}

// Applies a click's selection rule; answers whether the selection changed.
bool SelectByClick(ItemData& item, int listItem, unsigned modifiers)
{
	std::vector<detail::ListRow>& rows = item.list.rows;
	std::vector<bool> before;
	for (const detail::ListRow& row : rows)
		before.push_back(row.selected);
	const std::size_t clicked = static_cast<std::size_t>(listItem) - 1;
	const bool multiple = item.kind == ItemKind::MultiSelList;
	if (multiple && (modifiers & Modifier::Command) != 0) {
		rows[clicked].selected = !rows[clicked].selected;
		item.list.anchor = listItem;
	} else if (multiple && (modifiers & Modifier::Shift) != 0 && item.list.anchor != 0) {
		const std::size_t from = static_cast<std::size_t>(std::min(item.list.anchor, listItem));
		const std::size_t to = static_cast<std::size_t>(std::max(item.list.anchor, listItem));
		for (std::size_t i = 0; i < rows.size(); ++i)
			rows[i].selected = i + 1 >= from && i + 1 <= to;
	} else {
		for (detail::ListRow& row : rows)
			row.selected = false;
		rows[clicked].selected = true;
		item.list.anchor = listItem;
	}
	for (std::size_t i = 0; i < rows.size(); ++i) {
		if (rows[i].selected != before[i])
			return true;
	}
	return false;
}

// Why no item could be found by its label: the panel itself, or the label.
ActionResult NoSuchLabel(Serial serial, std::string_view label)
{
	std::string problem;
	if (ReachPanel(serial, problem) == nullptr)
		return ActionResult::Refused(problem);
	return ActionResult::Refused("no shown item is labelled \"" + std::string(label) + "\"");
}

template <class Event>
Event MouseEvent(Item* source, int listItem, Point offset, unsigned modifiers)
{
	return Event(static_cast<ListBox*>(source), listItem, offset, modifiers);
}

// A person's change of an item's value: the same value changes nothing, another one is
// stored and its observers hear of it with the value before.
template <class Observer, class Call>
ActionResult ChangeItemValue(
	Serial serial, short index, ItemData& item, std::int32_t value, ObserverKind kind, Call call)
{
	const std::int32_t previous = item.value;
	if (previous == value)
		return ActionResult::Done();
	item.value = value;
	detail::Notify<Observer>(
		serial, index, kind, [&call, previous](Observer& observer, Item* source) { call(observer, source, previous); });
	return ActionResult::Done();
}
} // namespace

User::User(const Panel& panel) : panelSerial(detail::PanelAccess::State(panel).serial)
{
}

Panel* User::GetPanel() const
{
	PanelState* state = World::Get().FindPanel(panelSerial);
	return state == nullptr ? nullptr : state->panel;
}

short User::FindItem(std::string_view label) const
{
	PanelState* state = World::Get().FindPanel(panelSerial);
	if (state == nullptr)
		return 0;
	for (std::size_t i = 0; i < state->items.size(); ++i) {
		const ItemData& item = state->items[i];
		bool labelled = item.kind == ItemKind::Button || item.kind == ItemKind::CheckBox ||
			item.kind == ItemKind::RadioButton || item.kind == ItemKind::LeftText ||
			item.kind == ItemKind::CenterText || item.kind == ItemKind::RightText;
		if (labelled && item.visible && item.text == label)
			return static_cast<short>(i + 1);
	}
	return 0;
}

ActionResult User::Click(short index)
{
	std::string problem;
	PanelState* panel = nullptr;
	ItemData* item = ReachItem(panelSerial, index, problem, &panel);
	if (item == nullptr)
		return ActionResult::Refused(problem);
	switch (item->kind) {
	case ItemKind::Button:
		detail::Notify<ButtonItemObserver>(
			panelSerial, index, ObserverKind::Button, [](ButtonItemObserver& observer, Item* source) {
				observer.ButtonClicked(ButtonClickEvent(static_cast<Button*>(source)));
			});
		return ActionResult::Done();
	case ItemKind::CheckBox:
		item->checked = !item->checked;
		detail::Notify<CheckItemObserver>(
			panelSerial, index, ObserverKind::CheckItem, [](CheckItemObserver& observer, Item* source) {
				observer.CheckItemChanged(CheckItemChangeEvent(static_cast<CheckBox*>(source)));
			});
		return ActionResult::Done();
	case ItemKind::RadioButton:
		if (item->checked)
			return ActionResult::Done();
		detail::SelectRadioButton(*panel, index);
		detail::Notify<RadioItemObserver>(
			panelSerial, index, ObserverKind::RadioItem, [](RadioItemObserver& observer, Item* source) {
				observer.RadioItemChanged(RadioItemChangeEvent(static_cast<RadioButton*>(source)));
			});
		return ActionResult::Done();
	default: return ActionResult::Refused(Describe(index, *item) + " cannot be clicked");
	}
}

ActionResult User::Click(std::string_view label)
{
	short index = FindItem(label);
	if (index == 0)
		return NoSuchLabel(panelSerial, label);
	return Click(index);
}

ActionResult User::SetCheck(short index, bool checked)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::CheckBox});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	return item->checked == checked ? ActionResult::Done() : Click(index);
}

ActionResult User::SetCheck(std::string_view label, bool checked)
{
	short index = FindItem(label);
	if (index == 0)
		return NoSuchLabel(panelSerial, label);
	return SetCheck(index, checked);
}

ActionResult User::Type(short index, std::string_view text)
{
	std::int32_t value = 0;
	if (!ParseWholeNumber(text, value))
		return ActionResult::Refused("\"" + std::string(text) + "\" is not a whole number");
	return Type(index, value);
}

ActionResult User::Type(short index, std::int32_t value)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::IntEdit});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	if (value < item->minimum || value > item->maximum) {
		return ActionResult::Refused(std::to_string(value) + " is outside the limits " + std::to_string(item->minimum) +
			" to " + std::to_string(item->maximum) + " of " + Describe(index, *item));
	}
	return ChangeItemValue<IntEditObserver>(panelSerial, index, *item, value, ObserverKind::IntEdit,
		[](IntEditObserver& observer, Item* source, std::int32_t previous) {
			observer.IntEditChanged(IntEditChangeEvent(static_cast<IntEdit*>(source), previous));
		});
}

ActionResult User::ChoosePopUpItem(short index, short popUpItem)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::PopUp});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	if (popUpItem < 1 || static_cast<std::size_t>(popUpItem) > item->popUpItems.size())
		return ActionResult::Refused(Describe(index, *item) + " has no item " + std::to_string(popUpItem));
	const short previous = item->popUpSelection;
	if (previous == popUpItem)
		return ActionResult::Done();
	item->popUpSelection = popUpItem;
	detail::Notify<PopUpObserver>(
		panelSerial, index, ObserverKind::PopUp, [previous](PopUpObserver& observer, Item* source) {
			observer.PopUpChanged(PopUpChangeEvent(static_cast<PopUp*>(source), previous));
		});
	return ActionResult::Done();
}

ActionResult User::ChoosePopUpItem(short index, std::string_view text)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::PopUp});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	auto found = std::find(item->popUpItems.begin(), item->popUpItems.end(), text);
	if (found == item->popUpItems.end())
		return ActionResult::Refused(Describe(index, *item) + " has no item \"" + std::string(text) + "\"");
	return ChoosePopUpItem(index, static_cast<short>(found - item->popUpItems.begin() + 1));
}

ActionResult User::ClickListItem(short index, int listItem, short x, unsigned modifiers)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::SingleSelList, ItemKind::MultiSelList});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	if (listItem < 1 || static_cast<std::size_t>(listItem) > item->list.rows.size())
		return ActionResult::Refused(Describe(index, *item) + " has no row " + std::to_string(listItem));
	const Point offset {x, RowMiddle(item->list, listItem)};
	if (SelectByClick(*item, listItem, modifiers)) {
		bool alive = detail::Notify<ListBoxObserver>(
			panelSerial, index, ObserverKind::ListBox, [](ListBoxObserver& observer, Item* source) {
				observer.ListBoxSelectionChanged(ListBoxSelectionEvent(static_cast<ListBox*>(source)));
			});
		if (!alive)
			return ActionResult::Done();
	}
	detail::Notify<ListBoxObserver>(
		panelSerial, index, ObserverKind::ListBox, [&](ListBoxObserver& observer, Item* source) {
			observer.ListBoxClicked(MouseEvent<ListBoxClickEvent>(source, listItem, offset, modifiers));
		});
	return ActionResult::Done();
}

ActionResult User::ClickListItem(short index, std::string_view rowText, short x, unsigned modifiers)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::SingleSelList, ItemKind::MultiSelList});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	for (std::size_t row = 0; row < item->list.rows.size(); ++row) {
		for (const detail::ListCell& cell : item->list.rows[row].cells) {
			if (cell.text == rowText)
				return ClickListItem(index, static_cast<int>(row + 1), x, modifiers);
		}
	}
	return ActionResult::Refused(Describe(index, *item) + " has no row showing \"" + std::string(rowText) + "\"");
}

ActionResult User::DoubleClickListItem(short index, int listItem, short x, unsigned modifiers)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::SingleSelList, ItemKind::MultiSelList});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	const Point offset {x, RowMiddle(item->list, listItem)};
	ActionResult click = ClickListItem(index, listItem, x, modifiers);
	if (!click || World::Get().FindPanel(panelSerial) == nullptr)
		return click;
	detail::Notify<ListBoxObserver>(
		panelSerial, index, ObserverKind::ListBox, [&](ListBoxObserver& observer, Item* source) {
			observer.ListBoxDoubleClicked(MouseEvent<ListBoxDoubleClickEvent>(source, listItem, offset, modifiers));
		});
	return ActionResult::Done();
}

ActionResult User::RequestListContextMenu(short index, int listItem, short x)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::SingleSelList, ItemKind::MultiSelList});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	if (listItem < 1 || static_cast<std::size_t>(listItem) > item->list.rows.size())
		return ActionResult::Refused(Describe(index, *item) + " has no row " + std::to_string(listItem));
	const Point offset {x, RowMiddle(item->list, listItem)};
	bool processed = false;
	detail::Notify<ListBoxObserver>(
		panelSerial, index, ObserverKind::ListBox, [&](ListBoxObserver& observer, Item* source) {
			observer.ListBoxContextMenuRequested(
				MouseEvent<ListBoxContextMenuEvent>(source, listItem, offset, Modifier::None), &processed);
		});
	return ActionResult::Done();
}

ActionResult User::ScrollList(short index, int topItem)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::SingleSelList, ItemKind::MultiSelList});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	if (topItem < 1 || static_cast<std::size_t>(topItem) > item->list.rows.size())
		return ActionResult::Refused(Describe(index, *item) + " has no row " + std::to_string(topItem));
	item->list.scrollPosition = topItem;
	return ActionResult::Done();
}

ActionResult User::ChangeUserControl(short index, std::int32_t value)
{
	std::string problem;
	ItemData* item = ReachItem(panelSerial, index, problem, nullptr, {ItemKind::UserControl});
	if (item == nullptr)
		return ActionResult::Refused(problem);
	return ChangeItemValue<UserControlObserver>(panelSerial, index, *item, value, ObserverKind::UserControl,
		[](UserControlObserver& observer, Item* source, std::int32_t previous) {
			observer.UserControlChanged(UserControlChangeEvent(static_cast<UserControl*>(source), previous));
		});
}

ActionResult User::PressKey(short key, unsigned modifiers)
{
	std::string problem;
	PanelState* panel = ReachPanel(panelSerial, problem);
	if (panel == nullptr)
		return ActionResult::Refused(problem);
	const std::string keyName = std::string(Key::Name(key));
	if (!panel->hotKeysEnabled)
		return ActionResult::Refused("the panel takes no hot keys; " + keyName + " does nothing");
	auto found = std::find_if(panel->hotKeys.begin(), panel->hotKeys.end(),
		[&](const detail::HotKey& hotKey) { return hotKey.key == key && hotKey.modifiers == modifiers; });
	if (found == panel->hotKeys.end())
		return ActionResult::Refused("no hot key " + keyName + " is registered");
	PanelHotKeyEvent event(panel->panel, found->id);
	bool processed = false;
	detail::Notify<PanelObserver>(panelSerial, 0, ObserverKind::Panel,
		[&](PanelObserver& observer, Item*) { observer.PanelHotkeyPressed(event, &processed); });
	return ActionResult::Done();
}

ActionResult User::PressCloseBox()
{
	std::string problem;
	PanelState* panel = ReachPanel(panelSerial, problem);
	if (panel == nullptr)
		return ActionResult::Refused(problem);
	if (panel->kind == PanelKind::TabPage)
		return ActionResult::Refused("a tab page has no close box");
	if (panel->closeType == Dialog::NoClose)
		return ActionResult::Refused("the dialog has no close box");
	PanelCloseRequestEvent event(panel->panel);
	bool accepted = true;
	bool alive = detail::Notify<PanelObserver>(panelSerial, 0, ObserverKind::Panel,
		[&](PanelObserver& observer, Item*) { observer.PanelCloseRequested(event, &accepted); });
	if (!alive || !accepted)
		return ActionResult::Done();
	panel = World::Get().FindPanel(panelSerial);
	if (panel->kind == PanelKind::ModalDialog) {
		if (panel->modalOpen) {
			panel->modalOpen = false;
			panel->response = ModalDialog::Cancel;
		}
	} else {
		panel->visible = false;
	}
	return ActionResult::Done();
}

ActionResult User::Resize(short width, short height)
{
	std::string problem;
	PanelState* panel = World::Get().FindPanel(panelSerial);
	// Layout code relays a resize to every page, also to one whose tab control is hidden.
	PanelState* dialog = panel;
	while (dialog != nullptr && dialog->kind == PanelKind::TabPage)
		dialog = World::Get().FindPanel(dialog->parentSerial);
	if (dialog == nullptr || !detail::PanelAcceptsPerson(*dialog, &problem))
		return ActionResult::Refused(panel == nullptr ? "the panel no longer exists"
				: dialog == nullptr                   ? "the tab page has no tab control"
													  : problem);
	if (width < 0 || height < 0)
		return ActionResult::Refused("a size cannot be negative");
	const short widthChange = static_cast<short>(width - panel->width);
	const short heightChange = static_cast<short>(height - panel->height);
	if (panel->kind != PanelKind::TabPage) {
		const bool horizontal = panel->growType == Dialog::HGrow || panel->growType == Dialog::HVGrow;
		const bool vertical = panel->growType == Dialog::VGrow || panel->growType == Dialog::HVGrow;
		if ((widthChange != 0 && !horizontal) || (heightChange != 0 && !vertical))
			return ActionResult::Refused("the dialog cannot be resized that way");
	}
	if (widthChange == 0 && heightChange == 0)
		return ActionResult::Done();
	panel->width = width;
	panel->height = height;
	PanelResizeEvent event(panel->panel, widthChange, heightChange);
	detail::Notify<PanelObserver>(
		panelSerial, 0, ObserverKind::Panel, [&](PanelObserver& observer, Item*) { observer.PanelResized(event); });
	return ActionResult::Done();
}

} // namespace DG

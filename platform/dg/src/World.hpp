// The dialog library's one world, inside the library only: the live panels with their state
// and items, and every observer attachment. Panels, item handles and observers are named by
// serial numbers that are never reused, so a handler that deletes a panel or an observer
// leaves nothing dangling here: whoever asks afterwards finds it gone.
#pragma once

#include "DG/Icon.hpp"
#include "DG/Item.hpp"
#include "DG/ListBox.hpp"
#include "DG/Panel.hpp"

#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace DG::detail {

using Serial = std::uint64_t;

struct ListCell {
	std::string text;
	Icon icon;
};

struct ListRow {
	std::vector<ListCell> cells;
	std::uintptr_t value = 0;
	bool selected = false;
	bool grayed = false;
};

struct TabField {
	short begin = 0;
	short end = 0;
	ListBox::Justification justification = ListBox::Left;
	ListBox::Truncation truncation = ListBox::NoTruncate;
};

struct ListData {
	std::vector<TabField> fields;
	std::vector<ListRow> rows;
	int scrollPosition = 1;
	// The row a Shift click extends from.
	int anchor = 0;
};

struct ItemData {
	ItemKind kind = ItemKind::Button;
	Rect rect;
	std::string text;
	bool visible = true;
	bool enabled = true;
	std::uint16_t radioGroup = 0;
	// Check boxes and radio buttons.
	bool checked = false;
	// Int edits and user controls.
	std::int32_t value = 0;
	std::int32_t minimum = INT32_MIN;
	std::int32_t maximum = INT32_MAX;
	// Pop-ups.
	std::vector<std::string> popUpItems;
	short popUpSelection = 0;
	// List boxes.
	ListData list;
	// Icon items.
	Icon icon;
	// Tab controls: the serial of page n at n - 1, 0 where there is none.
	std::vector<Serial> tabPages;
};

struct HotKey {
	short id = 0;
	short key = 0;
	unsigned modifiers = 0;
};

struct PanelState {
	Panel* panel = nullptr;
	Serial serial = 0;
	PanelKind kind = PanelKind::ModalDialog;
	short id = 0;
	bool valid = false;
	std::string problem;
	short resourceId = 0;
	short width = 0;
	short height = 0;
	std::vector<ItemData> items;
	bool itemsDisabled = false;

	// Dialogs.
	std::string title;
	Point position;
	Dialog::GrowType growType = Dialog::NoGrow;
	Dialog::CloseType closeType = Dialog::Close;
	Dialog::CaptionType captionType = Dialog::TopCaption;
	Dialog::FrameType frameType = Dialog::NormalFrame;
	bool growBox = true;
	int moveResizeDepth = 0;

	// Modal dialogs.
	bool modalOpen = false;
	ModalDialog::ModalResponse response = ModalDialog::NoResponse;

	// Modeless dialogs.
	bool processingEvents = false;
	bool visible = false;
	bool opened = false;

	// Tab pages: the panel holding the tab control, the control's item number, the page number.
	Serial parentSerial = 0;
	short parentItem = 0;
	short pageIndex = 0;

	bool hotKeysEnabled = false;
	std::vector<HotKey> hotKeys;
	short nextHotKeyId = 1;

	ItemData* FindItem(short index)
	{
		if (index < 1 || static_cast<std::size_t>(index) > items.size())
			return nullptr;
		return &items[static_cast<std::size_t>(index) - 1];
	}
};

enum class ObserverKind { Panel, Button, CheckItem, RadioItem, IntEdit, PopUp, ListBox, UserControl };

struct Attachment {
	Serial observer = 0;
	ObserverKind kind = ObserverKind::Panel;
	// The observer, as a pointer to the observer class of kind.
	void* target = nullptr;
	Serial panel = 0;
	// 0 for the panel's own events.
	short itemIndex = 0;
	// The handle the observer attached to: the source of its events.
	Item* item = nullptr;
};

class World {
public:
	static World& Get();

	Serial NewSerial() { return nextSerial++; }

	// Gives the panel its serial and an id free among the live panels.
	void AddPanel(PanelState& state);
	void RemovePanel(Serial serial);
	PanelState* FindPanel(Serial serial) const;
	PanelState* FindPanelById(short id) const;
	// Counts the panels removed so far: a panel found before is still there while it stays the same.
	std::uint64_t Removals() const { return removals; }
	std::size_t PanelCount() const { return panels.size(); }

	void Attach(const Attachment& attachment);
	void Detach(Serial observer, Serial panel, short itemIndex, const Item* item);
	void RemoveObserver(Serial observer);
	void RemoveItemHandle(const Item* item);
	// The attachments that receive the events of (panel, itemIndex) for kind, in the order
	// they were made.
	std::vector<Serial> Receivers(Serial panel, short itemIndex, ObserverKind kind) const;
	const Attachment* FindAttachment(Serial attachment) const;
	// The live panels in the order they were made.
	const std::map<Serial, PanelState*>& Panels() const { return panels; }

private:
	Serial nextSerial = 1;
	short lastId = 0;
	std::map<Serial, PanelState*> panels;
	std::map<Serial, Attachment> attachments;
	std::uint64_t removals = 0;
};

// Calls call(observer, sourceItem) for every receiver of (panel, itemIndex, kind), as long as
// the panel lives. An attachment removed by an earlier call is skipped. Answers whether the
// panel still lives afterwards; when it does not, nothing of it may be touched.
template <class Observer, class Call>
bool Notify(Serial panel, short itemIndex, ObserverKind kind, Call&& call)
{
	World& world = World::Get();
	for (Serial serial : world.Receivers(panel, itemIndex, kind)) {
		const Attachment* attachment = world.FindAttachment(serial);
		if (attachment == nullptr)
			continue;
		Observer* observer = static_cast<Observer*>(attachment->target);
		Item* source = attachment->item;
		call(*observer, source);
		if (world.FindPanel(panel) == nullptr)
			return false;
	}
	return world.FindPanel(panel) != nullptr;
}

struct PanelAccess {
	static PanelState& State(const Panel& panel) { return *panel.state; }
};

struct ItemAccess {
	static Serial PanelSerial(const Item& item) { return item.panelSerial; }
	static bool IsValid(const Item& item) { return item.valid; }
};

struct ObserverAccess {
	template <class Observer>
	static Serial SerialOf(const Observer& observer)
	{
		return observer.observerLink.Serial();
	}
};

// Whether a person could use the panel's items as a whole: the panel is open (or shown and
// processing events), and for a tab page its tab control is usable in its own panel.
bool PanelAcceptsPerson(const PanelState& state, std::string* why = nullptr);
// Whether the item's panel lets a person reach it: the panel's items are not disabled as a
// whole and, for a tab page, the tab control holding it is shown and usable.
bool ItemsReachable(const PanelState& state);
// Raises PanelOpened on the panel and then on the pages of its tab controls; false when a
// handler deleted the panel.
bool RaisePanelOpened(Serial panel);

} // namespace DG::detail

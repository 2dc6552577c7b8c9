// The registry of live panels and observer attachments, and the rules that decide whether a
// person can reach a panel's items.
#include "World.hpp"

#include "DG/Observers.hpp"

#include <algorithm>

namespace DG::detail {

World& World::Get()
{
	// Never destroyed: observers and panels that are statics of other libraries may end after
	// this library's statics, and must still find the world to leave it.
	static World* world = new World;
	return *world;
}

void World::AddPanel(PanelState& state)
{
	state.serial = NewSerial();
	short id = lastId;
	do {
		id = static_cast<short>(id == SHRT_MAX ? 1 : id + 1);
	} while (FindPanelById(id) != nullptr);
	lastId = id;
	state.id = id;
	panels[state.serial] = &state;
}

void World::RemovePanel(Serial serial)
{
	panels.erase(serial);
	++removals;
	std::erase_if(attachments, [serial](const auto& entry) { return entry.second.panel == serial; });
}

PanelState* World::FindPanel(Serial serial) const
{
	auto found = panels.find(serial);
	return found == panels.end() ? nullptr : found->second;
}

PanelState* World::FindPanelById(short id) const
{
	for (const auto& [serial, state] : panels) {
		if (state->id == id)
			return state;
	}
	return nullptr;
}

void World::Attach(const Attachment& attachment)
{
	for (const auto& [serial, existing] : attachments) {
		if (existing.observer == attachment.observer && existing.panel == attachment.panel &&
			existing.itemIndex == attachment.itemIndex && existing.item == attachment.item)
			return;
	}
	attachments.emplace(NewSerial(), attachment);
}

void World::Detach(Serial observer, Serial panel, short itemIndex, const Item* item)
{
	std::erase_if(attachments, [&](const auto& entry) {
		const Attachment& a = entry.second;
		return a.observer == observer && a.panel == panel && a.itemIndex == itemIndex && a.item == item;
	});
}

void World::RemoveObserver(Serial observer)
{
	std::erase_if(attachments, [observer](const auto& entry) { return entry.second.observer == observer; });
}

void World::RemoveItemHandle(const Item* item)
{
	std::erase_if(attachments, [item](const auto& entry) { return entry.second.item == item; });
}

std::vector<Serial> World::Receivers(Serial panel, short itemIndex, ObserverKind kind) const
{
	std::vector<Serial> receivers;
	for (const auto& [serial, a] : attachments) {
		if (a.panel == panel && a.itemIndex == itemIndex && a.kind == kind)
			receivers.push_back(serial);
	}
	return receivers;
}

const Attachment* World::FindAttachment(Serial attachment) const
{
	auto found = attachments.find(attachment);
	return found == attachments.end() ? nullptr : &found->second;
}

namespace {
// The tab control holding a tab page, in the panel that holds the control.
const ItemData* HoldingControl(const PanelState& page, PanelState** holder)
{
	PanelState* parent = World::Get().FindPanel(page.parentSerial);
	*holder = parent;
	return parent == nullptr ? nullptr : parent->FindItem(page.parentItem);
}
} // namespace

bool PanelAcceptsPerson(const PanelState& state, std::string* why)
{
	auto refuse = [why](const char* reason) {
		if (why != nullptr)
			*why = reason;
		return false;
	};
	if (!state.valid)
		return refuse("the panel is not valid");
	switch (state.kind) {
	case PanelKind::ModalDialog: return state.modalOpen ? true : refuse("the dialog is not open");
	case PanelKind::ModelessDialog:
	case PanelKind::Palette:
		if (!state.processingEvents)
			return refuse("the dialog does not process events");
		return state.visible ? true : refuse("the dialog is hidden");
	case PanelKind::TabPage: {
		PanelState* holder = nullptr;
		const ItemData* control = HoldingControl(state, &holder);
		if (control == nullptr)
			return refuse("the tab page has no tab control");
		if (!control->visible)
			return refuse("the tab page's tab control is hidden");
		return PanelAcceptsPerson(*holder, why);
	}
	}
	return refuse("unknown panel");
}

bool ItemsReachable(const PanelState& state)
{
	if (state.itemsDisabled)
		return false;
	if (state.kind != PanelKind::TabPage)
		return true;
	PanelState* holder = nullptr;
	const ItemData* control = HoldingControl(state, &holder);
	return control != nullptr && control->visible && control->enabled && ItemsReachable(*holder);
}

bool RaisePanelOpened(Serial panel)
{
	World& world = World::Get();
	PanelState* state = world.FindPanel(panel);
	if (state == nullptr)
		return false;
	PanelOpenEvent event(state->panel);
	bool alive = Notify<PanelObserver>(
		panel, 0, ObserverKind::Panel, [&event](PanelObserver& observer, Item*) { observer.PanelOpened(event); });
	if (!alive)
		return false;
	// The pages as they are now; each is looked up again, since a handler may delete pages.
	std::vector<Serial> pages;
	for (const ItemData& item : world.FindPanel(panel)->items) {
		if (item.kind == ItemKind::TabControl) {
			for (Serial page : item.tabPages) {
				if (page != 0)
					pages.push_back(page);
			}
		}
	}
	for (Serial page : pages) {
		if (world.FindPanel(page) != nullptr)
			RaisePanelOpened(page);
		if (world.FindPanel(panel) == nullptr)
			return false;
	}
	return true;
}

} // namespace DG::detail

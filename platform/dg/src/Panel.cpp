// Panels and dialogs: building them from their dialog resources, their ids and validity,
// sizes and titles, hot keys, and the life of modal and modeless dialogs and tab pages.
#include "DG/Panel.hpp"

#include "DG/Census.hpp"
#include "DG/Item.hpp"
#include "DG/ModalRecord.hpp"
#include "DG/Observers.hpp"
#include "DG/UserAgent.hpp"
#include "ModalRecordInternal.hpp"
#include "World.hpp"

#include <algorithm>
#include <charconv>
#include <set>

namespace DG {

using detail::ItemData;
using detail::PanelState;
using detail::World;

namespace {
std::int32_t ParseLimit(const std::string& text, std::int32_t fallback)
{
	std::int32_t value = 0;
	const char* end = text.data() + text.size();
	auto [stop, error] = std::from_chars(text.data(), end, value);
	return (error == std::errc() && stop == end && !text.empty()) ? value : fallback;
}

ItemData MakeItem(const ItemDescription& description)
{
	ItemData item;
	item.kind = description.kind;
	item.rect = description.rect;
	item.text = description.text;
	item.radioGroup = description.radioGroup;
	switch (description.kind) {
	case ItemKind::IntEdit:
		item.minimum = ParseLimit(description.minimum, INT32_MIN);
		item.maximum = ParseLimit(description.maximum, INT32_MAX);
		if (item.minimum > item.maximum)
			std::swap(item.minimum, item.maximum);
		item.value = std::clamp<std::int32_t>(0, item.minimum, item.maximum);
		break;
	case ItemKind::Icon: item.icon = Icon::FromGlyph(description.text); break;
	case ItemKind::SingleSelList:
	case ItemKind::MultiSelList: {
		short rowWidth = static_cast<short>(std::max(0, item.rect.GetWidth() - ListBox::ScrollBarWidth));
		item.list.fields.push_back(detail::TabField {0, rowWidth, ListBox::Left, ListBox::NoTruncate});
		break;
	}
	default: break;
	}
	return item;
}
} // namespace

namespace {
std::set<short>& RefusedResources()
{
	static std::set<short> refused;
	return refused;
}
} // namespace

void RefuseDialogResourceForTesting(short id, bool refused)
{
	if (refused)
		RefusedResources().insert(id);
	else
		RefusedResources().erase(id);
}

Panel::Panel(PanelKind kind, ResourceModule module, short resourceId) : state(std::make_unique<PanelState>())
{
	state->panel = this;
	state->kind = kind;
	state->resourceId = resourceId;
	std::string problem = "refused for testing";
	std::optional<DialogDescription> description;
	if (RefusedResources().count(resourceId) == 0)
		description = LoadDialog(module, resourceId, &problem);
	if (description) {
		state->valid = true;
		state->width = description->width;
		state->height = description->height;
		state->title = description->title;
		for (const ItemDescription& item : description->items)
			state->items.push_back(MakeItem(item));
	} else {
		state->problem = "dialog resource " + std::to_string(resourceId) + ": " + problem;
	}
	World::Get().AddPanel(*state);
}

Panel::Panel(PanelKind kind, short width, short height) : state(std::make_unique<PanelState>())
{
	state->panel = this;
	state->kind = kind;
	state->valid = true;
	state->width = std::max<short>(0, width);
	state->height = std::max<short>(0, height);
	World::Get().AddPanel(*state);
}

Panel::~Panel()
{
	World::Get().RemovePanel(state->serial);
}

std::size_t LivePanelCount()
{
	return World::Get().PanelCount();
}

Panel* FindPanel(short id)
{
	PanelState* state = World::Get().FindPanelById(id);
	return state == nullptr ? nullptr : state->panel;
}

short Panel::GetId() const
{
	return state->id;
}
bool Panel::IsValid() const
{
	return state->valid;
}
const std::string& Panel::GetProblem() const
{
	return state->problem;
}
short Panel::GetResourceId() const
{
	return state->resourceId;
}
PanelKind Panel::GetKind() const
{
	return state->kind;
}
short Panel::GetItemCount() const
{
	return static_cast<short>(state->items.size());
}

short Panel::AddItem(ItemKind kind, const Rect& rect, std::string_view text)
{
	if (!state->valid || state->items.size() >= static_cast<std::size_t>(SHRT_MAX))
		return 0;
	ItemDescription description;
	description.kind = kind;
	description.rect = rect;
	description.text = std::string(text);
	state->items.push_back(MakeItem(description));
	return static_cast<short>(state->items.size());
}

short Panel::GetWidth() const
{
	return state->width;
}
short Panel::GetHeight() const
{
	return state->height;
}
void Panel::SetWidth(short width)
{
	state->width = std::max<short>(0, width);
}
void Panel::SetHeight(short height)
{
	state->height = std::max<short>(0, height);
}
void Panel::SetSize(short width, short height)
{
	SetWidth(width);
	SetHeight(height);
}

void Panel::DisableItems()
{
	state->itemsDisabled = true;
}
void Panel::EnableItems()
{
	state->itemsDisabled = false;
}
bool Panel::AreItemsDisabled() const
{
	return state->itemsDisabled;
}

void Panel::Attach(PanelObserver& observer)
{
	detail::Attachment attachment;
	attachment.observer = detail::ObserverAccess::SerialOf(observer);
	attachment.kind = detail::ObserverKind::Panel;
	attachment.target = &observer;
	attachment.panel = state->serial;
	World::Get().Attach(attachment);
}

void Panel::Detach(PanelObserver& observer)
{
	World::Get().Detach(detail::ObserverAccess::SerialOf(observer), state->serial, 0, nullptr);
}

void Panel::EnableHotKeys()
{
	state->hotKeysEnabled = true;
}
void Panel::DisableHotKeys()
{
	state->hotKeysEnabled = false;
}
bool Panel::AreHotKeysEnabled() const
{
	return state->hotKeysEnabled;
}

short Panel::RegisterHotKey(short key, unsigned modifiers)
{
	for (const detail::HotKey& hotKey : state->hotKeys) {
		if (hotKey.key == key && hotKey.modifiers == modifiers)
			return 0;
	}
	short id = state->nextHotKeyId;
	// Ids are not reused while the panel lives, so a stale id never unregisters another key.
	if (id == SHRT_MAX)
		return 0;
	state->nextHotKeyId = static_cast<short>(id + 1);
	state->hotKeys.push_back(detail::HotKey {id, key, modifiers});
	return id;
}

void Panel::UnregisterHotKey(short hotKeyId)
{
	std::erase_if(state->hotKeys, [hotKeyId](const detail::HotKey& hotKey) { return hotKey.id == hotKeyId; });
}

// Dialog

Dialog::Dialog(PanelKind kind, ResourceModule module, short resourceId) : Panel(kind, module, resourceId)
{
}

Dialog::Dialog(PanelKind kind, const Rect& rect, GrowType growType, CloseType closeType, CaptionType captionType,
	FrameType frameType)
	: Panel(kind, rect.GetWidth(), rect.GetHeight())
{
	PanelState& s = detail::PanelAccess::State(*this);
	s.position = rect.GetTopLeft();
	s.growType = growType;
	s.closeType = closeType;
	s.captionType = captionType;
	s.frameType = frameType;
}

std::string Dialog::GetTitle() const
{
	return detail::PanelAccess::State(*this).title;
}
void Dialog::SetTitle(std::string_view title)
{
	detail::PanelAccess::State(*this).title = std::string(title);
}
Point Dialog::GetPosition() const
{
	return detail::PanelAccess::State(*this).position;
}
void Dialog::SetPosition(Point position)
{
	detail::PanelAccess::State(*this).position = position;
}
short Dialog::GetClientWidth() const
{
	return GetWidth();
}
short Dialog::GetClientHeight() const
{
	return GetHeight();
}
void Dialog::SetClientSize(short width, short height)
{
	SetSize(width, height);
}
Dialog::GrowType Dialog::GetGrowType() const
{
	return detail::PanelAccess::State(*this).growType;
}
void Dialog::SetGrowType(GrowType growType)
{
	detail::PanelAccess::State(*this).growType = growType;
}
Dialog::CloseType Dialog::GetCloseType() const
{
	return detail::PanelAccess::State(*this).closeType;
}
Dialog::CaptionType Dialog::GetCaptionType() const
{
	return detail::PanelAccess::State(*this).captionType;
}
Dialog::FrameType Dialog::GetFrameType() const
{
	return detail::PanelAccess::State(*this).frameType;
}
void Dialog::DisableGrowBox()
{
	detail::PanelAccess::State(*this).growBox = false;
}
void Dialog::EnableGrowBox()
{
	detail::PanelAccess::State(*this).growBox = true;
}
bool Dialog::HasGrowBox() const
{
	return detail::PanelAccess::State(*this).growBox;
}
void Dialog::BeginMoveResizeItems()
{
	++detail::PanelAccess::State(*this).moveResizeDepth;
}

void Dialog::EndMoveResizeItems()
{
	int& depth = detail::PanelAccess::State(*this).moveResizeDepth;
	// An unmatched End is ignored rather than leaving the dialog in a batch forever.
	if (depth > 0)
		--depth;
}

bool Dialog::IsMovingResizingItems() const
{
	return detail::PanelAccess::State(*this).moveResizeDepth > 0;
}

// Modal dialogs

ModalDialog::ModalDialog(ResourceModule module, short resourceId) : Dialog(PanelKind::ModalDialog, module, resourceId)
{
}

ModalDialog::~ModalDialog() = default;

bool ModalDialog::Invoke()
{
	PanelState& s = detail::PanelAccess::State(*this);
	if (!s.valid || s.modalOpen)
		return false;
	const detail::Serial serial = s.serial;
	s.modalOpen = true;
	s.response = NoResponse;
	World& world = World::Get();

	std::size_t recordIndex = detail::NoRecord;
	if (detail::RaisePanelOpened(serial)) {
		recordIndex = detail::RecordShown(*this);
		UserAgent* agent = GetUserAgent();
		PanelState* now = world.FindPanel(serial);
		if (agent != nullptr && now != nullptr && now->modalOpen)
			agent->ActOnModalDialog(*this);
	}

	// The dialog may have been deleted by a handler while it was open: then it is not touched.
	PanelState* after = world.FindPanel(serial);
	if (after == nullptr) {
		detail::RecordClosed(recordIndex, Cancel);
		return false;
	}
	if (after->modalOpen) {
		after->modalOpen = false;
		after->response = Cancel;
	}
	detail::RecordClosed(recordIndex, after->response);
	return after->response == Accept;
}

void ModalDialog::PostCloseRequest(ModalResponse response)
{
	PanelState& s = detail::PanelAccess::State(*this);
	if (!s.modalOpen)
		return;
	s.modalOpen = false;
	s.response = response == Accept ? Accept : Cancel;
}

bool ModalDialog::IsOpen() const
{
	return detail::PanelAccess::State(*this).modalOpen;
}
ModalDialog::ModalResponse ModalDialog::GetResponse() const
{
	return detail::PanelAccess::State(*this).response;
}

// Modeless dialogs

namespace {
// Opens a modeless dialog the first time it both processes events and is shown.
void OpenWhenReady(PanelState& s)
{
	if (s.valid && s.processingEvents && s.visible && !s.opened) {
		s.opened = true;
		detail::RaisePanelOpened(s.serial);
	}
}
} // namespace

void ModelessBase::BeginEventProcessing()
{
	PanelState& s = detail::PanelAccess::State(*this);
	s.processingEvents = true;
	OpenWhenReady(s);
}

void ModelessBase::EndEventProcessing()
{
	PanelState& s = detail::PanelAccess::State(*this);
	s.processingEvents = false;
	s.opened = false;
}

bool ModelessBase::IsProcessingEvents() const
{
	return detail::PanelAccess::State(*this).processingEvents;
}

void ModelessBase::Show()
{
	PanelState& s = detail::PanelAccess::State(*this);
	s.visible = true;
	OpenWhenReady(s);
}

void ModelessBase::Hide()
{
	detail::PanelAccess::State(*this).visible = false;
}
bool ModelessBase::IsVisible() const
{
	return detail::PanelAccess::State(*this).visible;
}

ModelessDialog::ModelessDialog(ResourceModule module, short resourceId)
	: ModelessBase(PanelKind::ModelessDialog, module, resourceId)
{
}

Palette::Palette(const Rect& rect, const VX::Guid& paletteGuid, GrowType growType, CloseType closeType,
	CaptionType captionType, FrameType frameType)
	: ModelessBase(PanelKind::Palette, rect, growType, closeType, captionType, frameType), guid(paletteGuid)
{
}

Palette::Palette(ResourceModule module, short resourceId, const VX::Guid& paletteGuid)
	: ModelessBase(PanelKind::Palette, module, resourceId), guid(paletteGuid)
{
}

const VX::Guid& Palette::GetGuid() const
{
	return guid;
}

// Tab pages

TabPage::TabPage(const TabControl& control, short pageIndex, ResourceModule module, short resourceId)
	: Panel(PanelKind::TabPage, module, resourceId)
{
	PanelState& s = detail::PanelAccess::State(*this);
	s.pageIndex = pageIndex;
	PanelState* holder = World::Get().FindPanel(detail::ItemAccess::PanelSerial(control));
	ItemData* item = holder == nullptr ? nullptr : holder->FindItem(control.GetIndex());
	auto refuse = [&s](std::string reason) {
		s.valid = false;
		s.items.clear();
		s.problem = std::move(reason);
	};
	if (!s.valid)
		return;
	if (item == nullptr || item->kind != ItemKind::TabControl || !detail::ItemAccess::IsValid(control)) {
		refuse("the tab control is not valid");
		return;
	}
	if (pageIndex < 1) {
		refuse("tab page numbers start at 1");
		return;
	}
	std::size_t slot = static_cast<std::size_t>(pageIndex) - 1;
	if (item->tabPages.size() <= slot)
		item->tabPages.resize(slot + 1, 0);
	if (item->tabPages[slot] != 0) {
		refuse("the tab control already has page " + std::to_string(pageIndex));
		return;
	}
	item->tabPages[slot] = s.serial;
	s.parentSerial = holder->serial;
	s.parentItem = control.GetIndex();
}

TabPage::~TabPage()
{
	PanelState& s = detail::PanelAccess::State(*this);
	PanelState* holder = World::Get().FindPanel(s.parentSerial);
	ItemData* item = holder == nullptr ? nullptr : holder->FindItem(s.parentItem);
	if (item == nullptr)
		return;
	for (detail::Serial& page : item->tabPages) {
		if (page == s.serial)
			page = 0;
	}
	while (!item->tabPages.empty() && item->tabPages.back() == 0)
		item->tabPages.pop_back();
}

Dialog* TabPage::GetParentDialog() const
{
	World& world = World::Get();
	PanelState* holder = world.FindPanel(detail::PanelAccess::State(*this).parentSerial);
	while (holder != nullptr && holder->kind == PanelKind::TabPage)
		holder = world.FindPanel(holder->parentSerial);
	return holder == nullptr ? nullptr : dynamic_cast<Dialog*>(holder->panel);
}

short TabPage::GetPageIndex() const
{
	return detail::PanelAccess::State(*this).pageIndex;
}

} // namespace DG

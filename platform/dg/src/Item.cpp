// Item handles: finding their state in the panel, the common item properties, and the
// simple item kinds (buttons, icons, texts, check boxes, radio buttons, edits, pop-ups, user
// controls, tab controls).
#include "DG/Item.hpp"

#include "DG/Observers.hpp"
#include "DG/Panel.hpp"
#include "ItemAttach.hpp"
#include "World.hpp"

#include <algorithm>

namespace DG {

using detail::ItemData;
using detail::PanelState;
using detail::World;

Item::Item(const Panel& panel, short itemIndex) : Item(panel, itemIndex, {})
{
}

Item::Item(const Panel& panel, short itemIndex, std::initializer_list<ItemKind> kinds)
	: panelSerial(detail::PanelAccess::State(panel).serial), index(itemIndex)
{
	PanelState& state = detail::PanelAccess::State(panel);
	const ItemData* item = state.valid ? state.FindItem(itemIndex) : nullptr;
	valid = item != nullptr && (kinds.size() == 0 || std::find(kinds.begin(), kinds.end(), item->kind) != kinds.end());
}

Item::~Item()
{
	World::Get().RemoveItemHandle(this);
}

ItemData* Item::Data() const
{
	if (!valid)
		return nullptr;
	const World& world = World::Get();
	if (foundPanel == nullptr || removalsWhenFound != world.Removals()) {
		foundPanel = world.FindPanel(panelSerial);
		removalsWhenFound = world.Removals();
	}
	return foundPanel == nullptr ? nullptr : foundPanel->FindItem(index);
}

bool Item::IsValid() const
{
	return Data() != nullptr;
}

Panel* Item::GetPanel() const
{
	PanelState* state = World::Get().FindPanel(panelSerial);
	return state == nullptr ? nullptr : state->panel;
}

ItemKind Item::GetKind() const
{
	const ItemData* data = Data();
	return data == nullptr ? ItemKind::Button : data->kind;
}

Rect Item::GetRect() const
{
	const ItemData* data = Data();
	return data == nullptr ? Rect {} : data->rect;
}

void Item::SetRect(const Rect& rect)
{
	if (ItemData* data = Data()) {
		// A rectangle given inside out keeps its corner and gets no extent.
		data->rect = Rect {rect.left, rect.top, std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
	}
}

Point Item::GetPosition() const
{
	return GetRect().GetTopLeft();
}

void Item::SetPosition(Point position)
{
	Rect rect = GetRect();
	SetRect(Rect::FromSize(position.x, position.y, rect.GetWidth(), rect.GetHeight()));
}

short Item::GetWidth() const
{
	return GetRect().GetWidth();
}
short Item::GetHeight() const
{
	return GetRect().GetHeight();
}

void Item::SetSize(short width, short height)
{
	Rect rect = GetRect();
	SetRect(Rect::FromSize(rect.left, rect.top, std::max<short>(0, width), std::max<short>(0, height)));
}

void Item::SetWidth(short width)
{
	SetSize(width, GetHeight());
}
void Item::SetHeight(short height)
{
	SetSize(GetWidth(), height);
}

void Item::Show()
{
	SetVisibility(true);
}
void Item::Hide()
{
	SetVisibility(false);
}

void Item::SetVisibility(bool visible)
{
	if (ItemData* data = Data())
		data->visible = visible;
}

bool Item::IsVisible() const
{
	const ItemData* data = Data();
	return data != nullptr && data->visible;
}

void Item::Enable()
{
	SetStatus(true);
}
void Item::Disable()
{
	SetStatus(false);
}

void Item::SetStatus(bool enabled)
{
	if (ItemData* data = Data())
		data->enabled = enabled;
}

bool Item::IsEnabled() const
{
	const ItemData* data = Data();
	return data != nullptr && data->enabled;
}

std::string TextItem::GetText() const
{
	const ItemData* data = Data();
	return data == nullptr ? std::string() : data->text;
}

void TextItem::SetText(std::string_view text)
{
	if (ItemData* data = Data())
		data->text = std::string(text);
}

Button::Button(const Panel& panel, short itemIndex) : TextItem(panel, itemIndex, {ItemKind::Button})
{
}

void Button::Attach(ButtonItemObserver& observer)
{
	detail::AttachObserver(*this, observer, detail::ObserverKind::Button);
}
void Button::Detach(ButtonItemObserver& observer)
{
	detail::DetachObserver(*this, observer);
}

IconItem::IconItem(const Panel& panel, short itemIndex) : Item(panel, itemIndex, {ItemKind::Icon})
{
}

Icon IconItem::GetIcon() const
{
	const ItemData* data = Data();
	return data == nullptr ? Icon() : data->icon;
}

void IconItem::SetIcon(const Icon& icon)
{
	if (ItemData* data = Data())
		data->icon = icon;
}

LeftText::LeftText(const Panel& panel, short itemIndex) : StaticText(panel, itemIndex, {ItemKind::LeftText})
{
}
CenterText::CenterText(const Panel& panel, short itemIndex) : StaticText(panel, itemIndex, {ItemKind::CenterText})
{
}
RightText::RightText(const Panel& panel, short itemIndex) : StaticText(panel, itemIndex, {ItemKind::RightText})
{
}

CheckBox::CheckBox(const Panel& panel, short itemIndex) : TextItem(panel, itemIndex, {ItemKind::CheckBox})
{
}
void CheckBox::Check()
{
	SetState(true);
}
void CheckBox::Uncheck()
{
	SetState(false);
}

void CheckBox::SetState(bool checked)
{
	if (ItemData* data = Data())
		data->checked = checked;
}

bool CheckBox::IsChecked() const
{
	const ItemData* data = Data();
	return data != nullptr && data->checked;
}

void CheckBox::Attach(CheckItemObserver& observer)
{
	detail::AttachObserver(*this, observer, detail::ObserverKind::CheckItem);
}
void CheckBox::Detach(CheckItemObserver& observer)
{
	detail::DetachObserver(*this, observer);
}

RadioButton::RadioButton(const Panel& panel, short itemIndex) : TextItem(panel, itemIndex, {ItemKind::RadioButton})
{
}

void RadioButton::Select()
{
	if (Data() == nullptr)
		return;
	detail::SelectRadioButton(*World::Get().FindPanel(detail::ItemAccess::PanelSerial(*this)), GetIndex());
}

bool RadioButton::IsSelected() const
{
	const ItemData* data = Data();
	return data != nullptr && data->checked;
}

std::uint16_t RadioButton::GetGroup() const
{
	const ItemData* data = Data();
	return data == nullptr ? 0 : data->radioGroup;
}

void RadioButton::Attach(RadioItemObserver& observer)
{
	detail::AttachObserver(*this, observer, detail::ObserverKind::RadioItem);
}
void RadioButton::Detach(RadioItemObserver& observer)
{
	detail::DetachObserver(*this, observer);
}

IntEdit::IntEdit(const Panel& panel, short itemIndex) : Item(panel, itemIndex, {ItemKind::IntEdit})
{
}

std::int32_t IntEdit::GetValue() const
{
	const ItemData* data = Data();
	return data == nullptr ? 0 : data->value;
}

void IntEdit::SetValue(std::int32_t value)
{
	if (ItemData* data = Data())
		data->value = std::clamp(value, data->minimum, data->maximum);
}

std::int32_t IntEdit::GetMin() const
{
	const ItemData* data = Data();
	return data == nullptr ? 0 : data->minimum;
}

std::int32_t IntEdit::GetMax() const
{
	const ItemData* data = Data();
	return data == nullptr ? 0 : data->maximum;
}

void IntEdit::SetMin(std::int32_t minimum)
{
	if (ItemData* data = Data()) {
		data->minimum = minimum;
		data->maximum = std::max(data->maximum, minimum);
		data->value = std::clamp(data->value, data->minimum, data->maximum);
	}
}

void IntEdit::SetMax(std::int32_t maximum)
{
	if (ItemData* data = Data()) {
		data->maximum = maximum;
		data->minimum = std::min(data->minimum, maximum);
		data->value = std::clamp(data->value, data->minimum, data->maximum);
	}
}

void IntEdit::Attach(IntEditObserver& observer)
{
	detail::AttachObserver(*this, observer, detail::ObserverKind::IntEdit);
}
void IntEdit::Detach(IntEditObserver& observer)
{
	detail::DetachObserver(*this, observer);
}

PopUp::PopUp(const Panel& panel, short itemIndex) : Item(panel, itemIndex, {ItemKind::PopUp})
{
}

short PopUp::GetItemCount() const
{
	const ItemData* data = Data();
	return data == nullptr ? 0 : static_cast<short>(data->popUpItems.size());
}

void PopUp::AppendItem()
{
	InsertItem(static_cast<short>(GetItemCount() + 1));
}

void PopUp::InsertItem(short position)
{
	ItemData* data = Data();
	if (data == nullptr || position < 1 || position > GetItemCount() + 1 || GetItemCount() == SHRT_MAX)
		return;
	data->popUpItems.insert(data->popUpItems.begin() + (position - 1), std::string());
	// The selected text stays selected; the first item of an empty pop-up becomes selected.
	if (data->popUpSelection == 0)
		data->popUpSelection = 1;
	else if (data->popUpSelection >= position)
		++data->popUpSelection;
}

void PopUp::DeleteItem(short position)
{
	ItemData* data = Data();
	if (data == nullptr || position < 1 || position > GetItemCount())
		return;
	data->popUpItems.erase(data->popUpItems.begin() + (position - 1));
	short count = static_cast<short>(data->popUpItems.size());
	if (data->popUpSelection > position)
		--data->popUpSelection;
	data->popUpSelection = std::min(data->popUpSelection, count);
}

void PopUp::SetItemText(short popUpItem, std::string_view text)
{
	ItemData* data = Data();
	if (data != nullptr && popUpItem >= 1 && popUpItem <= GetItemCount())
		data->popUpItems[static_cast<std::size_t>(popUpItem) - 1] = std::string(text);
}

std::string PopUp::GetItemText(short popUpItem) const
{
	const ItemData* data = Data();
	if (data == nullptr || popUpItem < 1 || popUpItem > GetItemCount())
		return {};
	return data->popUpItems[static_cast<std::size_t>(popUpItem) - 1];
}

void PopUp::SelectItem(short popUpItem)
{
	ItemData* data = Data();
	if (data != nullptr && popUpItem >= 1 && popUpItem <= GetItemCount())
		data->popUpSelection = popUpItem;
}

short PopUp::GetSelectedItem() const
{
	const ItemData* data = Data();
	return data == nullptr ? 0 : data->popUpSelection;
}

void PopUp::Attach(PopUpObserver& observer)
{
	detail::AttachObserver(*this, observer, detail::ObserverKind::PopUp);
}
void PopUp::Detach(PopUpObserver& observer)
{
	detail::DetachObserver(*this, observer);
}

UserControl::UserControl(const Panel& panel, short itemIndex) : Item(panel, itemIndex, {ItemKind::UserControl})
{
}

std::int32_t UserControl::GetValue() const
{
	const ItemData* data = Data();
	return data == nullptr ? 0 : data->value;
}

void UserControl::SetValue(std::int32_t value)
{
	if (ItemData* data = Data())
		data->value = value;
}

void UserControl::Attach(UserControlObserver& observer)
{
	detail::AttachObserver(*this, observer, detail::ObserverKind::UserControl);
}
void UserControl::Detach(UserControlObserver& observer)
{
	detail::DetachObserver(*this, observer);
}

TabControl::TabControl(const Panel& panel, short itemIndex) : Item(panel, itemIndex, {ItemKind::TabControl})
{
}

TabControl::TabControl(Panel& panel, const Rect& rect)
	: Item(panel, panel.AddItem(ItemKind::TabControl, rect), {ItemKind::TabControl})
{
}

short TabControl::GetTabPageCount() const
{
	const ItemData* data = Data();
	if (data == nullptr)
		return 0;
	return static_cast<short>(
		std::count_if(data->tabPages.begin(), data->tabPages.end(), [](detail::Serial page) { return page != 0; }));
}

TabPage* TabControl::GetTabPage(short pageIndex) const
{
	const ItemData* data = Data();
	if (data == nullptr || pageIndex < 1 || static_cast<std::size_t>(pageIndex) > data->tabPages.size())
		return nullptr;
	PanelState* page = World::Get().FindPanel(data->tabPages[static_cast<std::size_t>(pageIndex) - 1]);
	return page == nullptr ? nullptr : dynamic_cast<TabPage*>(page->panel);
}

} // namespace DG

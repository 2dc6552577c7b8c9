// List boxes: rows, tab fields, item values, gray state, selection and scroll position, all
// changed by code (no events). Every access checks its row and field numbers, so a stale
// number from an earlier event does nothing.
#include "DG/ListBox.hpp"

#include "DG/Observers.hpp"
#include "ItemAttach.hpp"
#include "World.hpp"

#include <algorithm>

namespace DG {

using detail::ItemData;
using detail::ListData;
using detail::ListRow;
using detail::TabField;

namespace {
ListRow* RowOf(ItemData* data, int listItem)
{
	if (data == nullptr || listItem < 1 || static_cast<std::size_t>(listItem) > data->list.rows.size())
		return nullptr;
	return &data->list.rows[static_cast<std::size_t>(listItem) - 1];
}

TabField* FieldOf(ItemData* data, short field)
{
	if (data == nullptr || field < 1 || static_cast<std::size_t>(field) > data->list.fields.size())
		return nullptr;
	return &data->list.fields[static_cast<std::size_t>(field) - 1];
}

detail::ListCell* CellOf(ItemData* data, int listItem, short field)
{
	ListRow* row = RowOf(data, listItem);
	if (row == nullptr || field < 1 || static_cast<std::size_t>(field) > row->cells.size())
		return nullptr;
	return &row->cells[static_cast<std::size_t>(field) - 1];
}

void ClampScroll(ListData& list)
{
	const int last = static_cast<int>(std::max<std::size_t>(1, list.rows.size()));
	list.scrollPosition = std::clamp(list.scrollPosition, 1, last);
}
} // namespace

ListBox::ListBox(const Panel& panel, short itemIndex, ItemKind kind) : Item(panel, itemIndex, {kind})
{
}
SingleSelListBox::SingleSelListBox(const Panel& panel, short itemIndex)
	: ListBox(panel, itemIndex, ItemKind::SingleSelList)
{
}
MultiSelListBox::MultiSelListBox(const Panel& panel, short itemIndex)
	: ListBox(panel, itemIndex, ItemKind::MultiSelList)
{
}

bool ListBox::IsMultiSelection() const
{
	const ItemData* data = Data();
	return data != nullptr && data->kind == ItemKind::MultiSelList;
}

int ListBox::GetItemCount() const
{
	const ItemData* data = Data();
	return data == nullptr ? 0 : static_cast<int>(data->list.rows.size());
}

void ListBox::AppendItem()
{
	InsertItem(GetItemCount() + 1);
}

void ListBox::InsertItem(int position)
{
	InsertItems(position, 1);
}

void ListBox::InsertItems(int position, int count)
{
	ItemData* data = Data();
	const int rows = GetItemCount();
	if (data == nullptr || count < 1 || position < 1 || position > rows + 1 || count > INT_MAX - rows)
		return;
	ListRow empty;
	empty.cells.resize(data->list.fields.size());
	data->list.rows.insert(data->list.rows.begin() + (position - 1), static_cast<std::size_t>(count), empty);
	if (data->list.anchor >= position)
		data->list.anchor += count;
}

void ListBox::DeleteItem(int position)
{
	if (position == AllItems) {
		if (ItemData* data = Data()) {
			data->list.rows.clear();
			data->list.anchor = 0;
			ClampScroll(data->list);
		}
		return;
	}
	DeleteItems(position, 1);
}

void ListBox::DeleteItems(int position, int count)
{
	ItemData* data = Data();
	const int rows = GetItemCount();
	if (data == nullptr || position < 1 || position > rows || count < 1)
		return;
	count = std::min(count, rows - position + 1);
	ListData& list = data->list;
	list.rows.erase(list.rows.begin() + (position - 1), list.rows.begin() + (position - 1 + count));
	if (list.anchor >= position && list.anchor < position + count)
		list.anchor = 0;
	else if (list.anchor >= position + count)
		list.anchor -= count;
	ClampScroll(list);
}

short ListBox::GetTabFieldCount() const
{
	const ItemData* data = Data();
	return data == nullptr ? 0 : static_cast<short>(data->list.fields.size());
}

void ListBox::SetTabFieldCount(short count)
{
	ItemData* data = Data();
	if (data == nullptr || count < 1)
		return;
	data->list.fields.resize(static_cast<std::size_t>(count));
	for (ListRow& row : data->list.rows)
		row.cells.resize(static_cast<std::size_t>(count));
}

short ListBox::GetTabFieldBeginPosition(short field) const
{
	const TabField* tabField = FieldOf(Data(), field);
	return tabField == nullptr ? 0 : tabField->begin;
}

short ListBox::GetTabFieldEndPosition(short field) const
{
	const TabField* tabField = FieldOf(Data(), field);
	return tabField == nullptr ? 0 : tabField->end;
}

void ListBox::SetTabFieldBeginPosition(short field, short position)
{
	if (TabField* tabField = FieldOf(Data(), field))
		tabField->begin = position;
}

void ListBox::SetTabFieldEndPosition(short field, short position)
{
	if (TabField* tabField = FieldOf(Data(), field))
		tabField->end = position;
}

void ListBox::SetTabFieldProperties(
	short field, short begin, short end, Justification justification, Truncation truncation)
{
	if (TabField* tabField = FieldOf(Data(), field))
		*tabField = TabField {begin, end, justification, truncation};
}

ListBox::Justification ListBox::GetTabFieldJustification(short field) const
{
	const TabField* tabField = FieldOf(Data(), field);
	return tabField == nullptr ? Left : tabField->justification;
}

void ListBox::SetTabFieldJustification(short field, Justification justification)
{
	if (TabField* tabField = FieldOf(Data(), field))
		tabField->justification = justification;
}

ListBox::Truncation ListBox::GetTabFieldTruncation(short field) const
{
	const TabField* tabField = FieldOf(Data(), field);
	return tabField == nullptr ? NoTruncate : tabField->truncation;
}

void ListBox::SetTabFieldTruncation(short field, Truncation truncation)
{
	if (TabField* tabField = FieldOf(Data(), field))
		tabField->truncation = truncation;
}

std::string ListBox::GetTabItemText(int listItem, short field) const
{
	const detail::ListCell* cell = CellOf(Data(), listItem, field);
	return cell == nullptr ? std::string() : cell->text;
}

void ListBox::SetTabItemText(int listItem, short field, std::string_view text)
{
	if (detail::ListCell* cell = CellOf(Data(), listItem, field))
		cell->text.assign(text);
}

Icon ListBox::GetTabItemIcon(int listItem, short field) const
{
	const detail::ListCell* cell = CellOf(Data(), listItem, field);
	return cell == nullptr ? Icon() : cell->icon;
}

void ListBox::SetTabItemIcon(int listItem, short field, const Icon& icon)
{
	if (detail::ListCell* cell = CellOf(Data(), listItem, field))
		cell->icon = icon;
}

std::uintptr_t ListBox::GetItemValue(int listItem) const
{
	const ListRow* row = RowOf(Data(), listItem);
	return row == nullptr ? 0 : row->value;
}

void ListBox::SetItemValue(int listItem, std::uintptr_t value)
{
	if (ListRow* row = RowOf(Data(), listItem))
		row->value = value;
}

void ListBox::GrayItem(int listItem)
{
	if (ListRow* row = RowOf(Data(), listItem))
		row->grayed = true;
}

void ListBox::EnableItem(int listItem)
{
	if (ListRow* row = RowOf(Data(), listItem))
		row->grayed = false;
}

bool ListBox::IsItemGrayed(int listItem) const
{
	const ListRow* row = RowOf(Data(), listItem);
	return row != nullptr && row->grayed;
}

void ListBox::SelectItem(int listItem)
{
	ItemData* data = Data();
	ListRow* row = RowOf(data, listItem);
	if (row == nullptr)
		return;
	if (data->kind == ItemKind::SingleSelList) {
		for (ListRow& other : data->list.rows)
			other.selected = false;
	}
	row->selected = true;
}

void ListBox::DeselectItem(int listItem)
{
	if (ListRow* row = RowOf(Data(), listItem))
		row->selected = false;
}

void ListBox::DeselectAll()
{
	if (ItemData* data = Data()) {
		for (ListRow& row : data->list.rows)
			row.selected = false;
	}
}

bool ListBox::IsItemSelected(int listItem) const
{
	const ListRow* row = RowOf(Data(), listItem);
	return row != nullptr && row->selected;
}

int ListBox::GetSelectedItem() const
{
	if (const ItemData* data = Data()) {
		for (std::size_t i = 0; i < data->list.rows.size(); ++i) {
			if (data->list.rows[i].selected)
				return static_cast<int>(i + 1);
		}
	}
	return 0;
}

int ListBox::GetSelectedCount() const
{
	return static_cast<int>(GetSelectedItems().size());
}

std::vector<int> ListBox::GetSelectedItems() const
{
	std::vector<int> selected;
	if (const ItemData* data = Data()) {
		for (std::size_t i = 0; i < data->list.rows.size(); ++i) {
			if (data->list.rows[i].selected)
				selected.push_back(static_cast<int>(i + 1));
		}
	}
	return selected;
}

int ListBox::GetScrollPosition() const
{
	const ItemData* data = Data();
	return data == nullptr ? 1 : data->list.scrollPosition;
}

void ListBox::SetScrollPosition(int topItem)
{
	if (ItemData* data = Data()) {
		data->list.scrollPosition = topItem;
		ClampScroll(data->list);
	}
}

short ListBox::GetItemWidth() const
{
	return static_cast<short>(std::max(0, GetWidth() - ScrollBarWidth));
}

void ListBox::Attach(ListBoxObserver& observer)
{
	detail::AttachObserver(*this, observer, detail::ObserverKind::ListBox);
}
void ListBox::Detach(ListBoxObserver& observer)
{
	detail::DetachObserver(*this, observer);
}

} // namespace DG

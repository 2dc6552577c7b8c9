// List boxes: rows (list items, numbered from 1, as many as an int counts) divided into tab fields, each field with a
// text and an icon; per row a value for the owner's use (wide enough for a pointer), a grayed
// state and a selection mark; per field a begin and end position, a justification and a
// truncation. Code may insert and delete rows at any time, also from inside the list's own
// event handlers: the library keeps no row across a call to an observer. Changes made here
// raise no events.
#pragma once

#include "DG/Item.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace DG {

class ListBoxObserver;

class ListBox : public Item {
public:
	// DeleteItem(AllItems) removes every row.
	static constexpr short AllItems = 0;
	// Width of the vertical scroll bar, which the rows do not use.
	static constexpr short ScrollBarWidth = 16;
	static constexpr short RowHeight = 18;

	enum Justification : short { Left = 0x000, Center = 0x100, Right = 0x200 };
	// How a text too long for its field is cut: at its end or in its middle, with "...".
	enum Truncation : short { NoTruncate = 0x0000, EndTruncate = 0x1000, MiddleTruncate = 0x2000 };

	bool IsMultiSelection() const;

	int GetItemCount() const;
	void AppendItem();
	// Inserts an empty row before position (1 to count + 1).
	void InsertItem(int position);
	void DeleteItem(int position);
	// count empty rows before position, in one step: a long list grows in time linear in it.
	void InsertItems(int position, int count);
	// count rows from position on, in one step.
	void DeleteItems(int position, int count);

	// Rows start with one field spanning the width of the rows.
	short GetTabFieldCount() const;
	void SetTabFieldCount(short count);
	short GetTabFieldBeginPosition(short field) const;
	short GetTabFieldEndPosition(short field) const;
	void SetTabFieldBeginPosition(short field, short position);
	void SetTabFieldEndPosition(short field, short position);
	void SetTabFieldProperties(short field, short begin, short end, Justification justification, Truncation truncation);
	Justification GetTabFieldJustification(short field) const;
	void SetTabFieldJustification(short field, Justification justification);
	Truncation GetTabFieldTruncation(short field) const;
	void SetTabFieldTruncation(short field, Truncation truncation);

	std::string GetTabItemText(int listItem, short field) const;
	void SetTabItemText(int listItem, short field, std::string_view text);
	Icon GetTabItemIcon(int listItem, short field) const;
	void SetTabItemIcon(int listItem, short field, const Icon& icon);

	std::uintptr_t GetItemValue(int listItem) const;
	void SetItemValue(int listItem, std::uintptr_t value);

	void GrayItem(int listItem);
	// Back to the normal (not grayed) state.
	void EnableItem(int listItem);
	bool IsItemGrayed(int listItem) const;

	// A single-selection list keeps at most one row selected: selecting one deselects the other.
	void SelectItem(int listItem);
	void DeselectItem(int listItem);
	void DeselectAll();
	bool IsItemSelected(int listItem) const;
	// The first selected row; 0 when none.
	int GetSelectedItem() const;
	int GetSelectedCount() const;
	// All selected rows, ascending.
	std::vector<int> GetSelectedItems() const;

	// The row shown at the top, from 1; kept inside the rows there are.
	int GetScrollPosition() const;
	void SetScrollPosition(int topItem);

	// The width the rows use: the list's width without its scroll bar.
	short GetItemWidth() const;

	void Attach(ListBoxObserver& observer);
	void Detach(ListBoxObserver& observer);

protected:
	ListBox(const Panel& panel, short index, ItemKind kind);
};

class SingleSelListBox : public ListBox {
public:
	SingleSelListBox(const Panel& panel, short index);
};

class MultiSelListBox : public ListBox {
public:
	MultiSelListBox(const Panel& panel, short index);
};

} // namespace DG

// Items: handles on the items a panel holds, made from (panel, item number) with numbers from
// 1 in resource order. The state lives in the panel, so two handles on one item see the same
// item; observers attach to a handle and events name that handle as their source. A handle
// made on an item of another kind, on a number the panel does not have, or on a panel that is
// not valid is not valid: its changes do nothing and its questions answer empty values. All
// changes made here are changes made by code and raise no events.
#pragma once

#include "DG/Geometry.hpp"
#include "DG/Icon.hpp"
#include "DG/ResourceFormat.hpp"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace DG {

class Panel;
class TabPage;
class ButtonItemObserver;
class CheckItemObserver;
class RadioItemObserver;
class IntEditObserver;
class PopUpObserver;
class UserControlObserver;

namespace detail {
struct ItemData;
struct ItemAccess;
struct PanelState;
} // namespace detail

class Item {
public:
	// A handle on any kind of item.
	Item(const Panel& panel, short index);
	virtual ~Item();
	Item(const Item&) = delete;
	Item& operator=(const Item&) = delete;

	bool IsValid() const;
	// The panel; null once it is gone.
	Panel* GetPanel() const;
	short GetIndex() const { return index; }
	ItemKind GetKind() const;

	Rect GetRect() const;
	void SetRect(const Rect& rect);
	Point GetPosition() const;
	void SetPosition(Point position);
	short GetWidth() const;
	short GetHeight() const;
	void SetSize(short width, short height);
	void SetWidth(short width);
	void SetHeight(short height);

	void Show();
	void Hide();
	void SetVisibility(bool visible);
	bool IsVisible() const;

	// The item's own enabled state; a person can use it only when the panel's items are not
	// disabled as a whole either (Panel::DisableItems).
	void Enable();
	void Disable();
	void SetStatus(bool enabled);
	bool IsEnabled() const;

	// Nothing to draw without a screen; kept so code reads as it would with one.
	void Redraw() const {}

protected:
	Item(const Panel& panel, short index, std::initializer_list<ItemKind> kinds);
	detail::ItemData* Data() const;

private:
	friend struct detail::ItemAccess;
	std::uint64_t panelSerial = 0;
	short index;
	bool valid = false;
	// The panel as last found, for code that sets a list's thousands of rows one call each.
	mutable detail::PanelState* foundPanel = nullptr;
	mutable std::uint64_t removalsWhenFound = 0;
};

// Items that show one text of their own.
class TextItem : public Item {
public:
	std::string GetText() const;
	void SetText(std::string_view text);

protected:
	using Item::Item;
};

class Button : public TextItem {
public:
	Button(const Panel& panel, short index);
	void Attach(ButtonItemObserver& observer);
	void Detach(ButtonItemObserver& observer);
};

class IconItem : public Item {
public:
	IconItem(const Panel& panel, short index);
	Icon GetIcon() const;
	void SetIcon(const Icon& icon);
};

class StaticText : public TextItem {
protected:
	using TextItem::TextItem;
};

class LeftText : public StaticText {
public:
	LeftText(const Panel& panel, short index);
};

class CenterText : public StaticText {
public:
	CenterText(const Panel& panel, short index);
};

class RightText : public StaticText {
public:
	RightText(const Panel& panel, short index);
};

class CheckBox : public TextItem {
public:
	CheckBox(const Panel& panel, short index);
	void Check();
	void Uncheck();
	void SetState(bool checked);
	bool IsChecked() const;
	void Attach(CheckItemObserver& observer);
	void Detach(CheckItemObserver& observer);
};

// Radio buttons with the same group number on one panel exclude each other.
class RadioButton : public TextItem {
public:
	RadioButton(const Panel& panel, short index);
	// Selects this button and deselects the others of its group.
	void Select();
	bool IsSelected() const;
	std::uint16_t GetGroup() const;
	void Attach(RadioItemObserver& observer);
	void Detach(RadioItemObserver& observer);
};

// An edit of a whole number between its limits (from the resource's limit texts; without
// them the 32-bit range). Values set by code are brought inside the limits.
class IntEdit : public Item {
public:
	IntEdit(const Panel& panel, short index);
	std::int32_t GetValue() const;
	void SetValue(std::int32_t value);
	std::int32_t GetMin() const;
	std::int32_t GetMax() const;
	void SetMin(std::int32_t minimum);
	void SetMax(std::int32_t maximum);
	void Attach(IntEditObserver& observer);
	void Detach(IntEditObserver& observer);
};

// A pop-up menu of texts, numbered from 1; one is selected whenever there are any.
class PopUp : public Item {
public:
	PopUp(const Panel& panel, short index);
	short GetItemCount() const;
	void AppendItem();
	// Inserts an empty item before position (1 to count + 1).
	void InsertItem(short position);
	void DeleteItem(short position);
	void SetItemText(short popUpItem, std::string_view text);
	std::string GetItemText(short popUpItem) const;
	void SelectItem(short popUpItem);
	// The selected item; 0 when there are none.
	short GetSelectedItem() const;
	void Attach(PopUpObserver& observer);
	void Detach(PopUpObserver& observer);
};

// A control drawn by its owner; headless it holds one value that a person changes.
class UserControl : public Item {
public:
	UserControl(const Panel& panel, short index);
	std::int32_t GetValue() const;
	void SetValue(std::int32_t value);
	void Attach(UserControlObserver& observer);
	void Detach(UserControlObserver& observer);
};

// A tab control holds tab pages (panels of their own), numbered from 1.
class TabControl : public Item {
public:
	TabControl(const Panel& panel, short index);
	// Adds a new tab control item to the panel.
	TabControl(Panel& panel, const Rect& rect);
	short GetTabPageCount() const;
	// The page; null when it does not exist.
	TabPage* GetTabPage(short pageIndex) const;
};

} // namespace DG

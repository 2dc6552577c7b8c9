// The events observers receive. Each names its source: the panel or the item object the
// observer was attached to. Events are raised only by a person's actions (see User.hpp),
// never by changes made in code.
#pragma once

#include "DG/Geometry.hpp"
#include "DG/Keys.hpp"

#include <cstdint>

namespace DG {

class Panel;
class Button;
class CheckBox;
class RadioButton;
class IntEdit;
class PopUp;
class ListBox;
class UserControl;

class PanelEvent {
public:
	explicit PanelEvent(Panel* panel) : source(panel) {}
	Panel* GetSource() const { return source; }

private:
	Panel* source;
};

class PanelOpenEvent : public PanelEvent {
public:
	using PanelEvent::PanelEvent;
};

class PanelCloseRequestEvent : public PanelEvent {
public:
	using PanelEvent::PanelEvent;
};

class PanelResizeEvent : public PanelEvent {
public:
	PanelResizeEvent(Panel* panel, short widthChange, short heightChange)
		: PanelEvent(panel), horizontalChange(widthChange), verticalChange(heightChange)
	{
	}
	short GetHorizontalChange() const { return horizontalChange; }
	short GetVerticalChange() const { return verticalChange; }

private:
	short horizontalChange;
	short verticalChange;
};

class PanelHotKeyEvent : public PanelEvent {
public:
	PanelHotKeyEvent(Panel* panel, short hotKeyId) : PanelEvent(panel), keyId(hotKeyId) {}
	// The id that registering the hot key returned.
	short GetKeyId() const { return keyId; }

private:
	short keyId;
};

// An event of one item; Source is the item class the observer attached to.
template <class Source>
class ItemEvent {
public:
	explicit ItemEvent(Source* item) : source(item) {}
	Source* GetSource() const { return source; }

private:
	Source* source;
};

class ButtonClickEvent : public ItemEvent<Button> {
public:
	using ItemEvent::ItemEvent;
};

class CheckItemChangeEvent : public ItemEvent<CheckBox> {
public:
	using ItemEvent::ItemEvent;
};

class RadioItemChangeEvent : public ItemEvent<RadioButton> {
public:
	using ItemEvent::ItemEvent;
};

class IntEditChangeEvent : public ItemEvent<IntEdit> {
public:
	IntEditChangeEvent(IntEdit* edit, std::int32_t valueBefore) : ItemEvent(edit), previousValue(valueBefore) {}
	std::int32_t GetPreviousValue() const { return previousValue; }

private:
	std::int32_t previousValue;
};

class PopUpChangeEvent : public ItemEvent<PopUp> {
public:
	PopUpChangeEvent(PopUp* popUp, short selectionBefore) : ItemEvent(popUp), previousSelection(selectionBefore) {}
	short GetPreviousSelection() const { return previousSelection; }

private:
	short previousSelection;
};

class UserControlChangeEvent : public ItemEvent<UserControl> {
public:
	UserControlChangeEvent(UserControl* control, std::int32_t valueBefore)
		: ItemEvent(control), previousValue(valueBefore)
	{
	}
	std::int32_t GetPreviousValue() const { return previousValue; }

private:
	std::int32_t previousValue;
};

class ListBoxSelectionEvent : public ItemEvent<ListBox> {
public:
	using ItemEvent::ItemEvent;
};

// A mouse event on a list item: the item (from 1; it may have been removed by an earlier
// handler of the same action), where the pointer was within the list, and the modifier keys.
class ListBoxMouseEvent : public ItemEvent<ListBox> {
public:
	ListBoxMouseEvent(ListBox* list, int item, Point offset, unsigned modifierFlags)
		: ItemEvent(list), listItem(item), mouseOffset(offset), modifiers(modifierFlags)
	{
	}
	int GetListItem() const { return listItem; }
	Point GetMouseOffset() const { return mouseOffset; }
	unsigned GetModifierFlags() const { return modifiers; }
	bool IsCommandPressed() const { return (modifiers & Modifier::Command) != 0; }
	bool IsOptionPressed() const { return (modifiers & Modifier::Option) != 0; }
	bool IsShiftPressed() const { return (modifiers & Modifier::Shift) != 0; }

private:
	int listItem;
	Point mouseOffset;
	unsigned modifiers;
};

class ListBoxClickEvent : public ListBoxMouseEvent {
public:
	using ListBoxMouseEvent::ListBoxMouseEvent;
};

class ListBoxDoubleClickEvent : public ListBoxMouseEvent {
public:
	using ListBoxMouseEvent::ListBoxMouseEvent;
};

class ListBoxContextMenuEvent : public ListBoxMouseEvent {
public:
	using ListBoxMouseEvent::ListBoxMouseEvent;
};

} // namespace DG

// The person at the screen, for hosts and tests: every action a person can take on a panel,
// addressed by item number or by the item's label, raising the events that action raises, in
// the order it raises them. A person can act only on an open modal dialog, on a modeless
// dialog that is shown and processes events, or on a tab page of such a dialog, and only on
// items that are shown and usable; anything else is refused with the reason and changes
// nothing. An action's handlers may delete the panel: the action then stops, and later
// actions of this User are refused.
#pragma once

#include "DG/Keys.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace DG {

class Panel;

class ActionResult {
public:
	static ActionResult Done() { return ActionResult(true, {}); }
	static ActionResult Refused(std::string reason) { return ActionResult(false, std::move(reason)); }

	explicit operator bool() const { return done; }
	bool IsDone() const { return done; }
	// Why the action was refused; empty when it was done.
	const std::string& GetProblem() const { return problem; }

private:
	ActionResult(bool wasDone, std::string reason) : done(wasDone), problem(std::move(reason)) {}
	bool done;
	std::string problem;
};

class User {
public:
	explicit User(const Panel& panel);

	// The panel acted on; null once it is gone.
	Panel* GetPanel() const;
	// The number of the first shown item labelled exactly so (a button, a text, a check box, a
	// radio button); 0 when there is none.
	short FindItem(std::string_view label) const;

	// Clicks a button (ButtonClicked), a check box (it toggles; CheckItemChanged) or a radio
	// button (when not already selected it is selected and the rest of its group deselected;
	// RadioItemChanged for it).
	ActionResult Click(short item);
	ActionResult Click(std::string_view label);
	// Clicks the check box when its state differs from checked; nothing happens otherwise.
	ActionResult SetCheck(short item, bool checked);
	ActionResult SetCheck(std::string_view label, bool checked);

	// Types a whole number into an edit. A text that is not a whole number, or a value outside
	// the edit's limits, is refused and the edit keeps its value. IntEditChanged (with the value
	// before) when the value changes.
	ActionResult Type(short item, std::string_view text);
	ActionResult Type(short item, std::int32_t value);

	// Chooses an item of a pop-up, by number or by text; PopUpChanged when the selection changes.
	ActionResult ChoosePopUpItem(short item, short popUpItem);
	ActionResult ChoosePopUpItem(short item, std::string_view text);

	// Clicks a list row at x within the list. The selection follows the click (in a
	// multiple-selection list Command toggles the row and Shift extends from the last clicked
	// row; otherwise the row alone is selected); ListBoxSelectionChanged when it changed, then
	// ListBoxClicked. A row may also be named by the text of any of its fields.
	ActionResult ClickListItem(short item, int listItem, short x = 0, unsigned modifiers = Modifier::None);
	ActionResult ClickListItem(short item, std::string_view rowText, short x = 0, unsigned modifiers = Modifier::None);
	// A double click: the click above, then ListBoxDoubleClicked.
	ActionResult DoubleClickListItem(short item, int listItem, short x = 0, unsigned modifiers = Modifier::None);
	// A right click on a row: ListBoxContextMenuRequested; the selection is left as it is.
	ActionResult RequestListContextMenu(short item, int listItem, short x = 0);
	// Drags the list's scroll bar until the row is the top one shown; no observer hears it.
	ActionResult ScrollList(short item, int topItem);

	// Changes a user control's value; UserControlChanged when it changes.
	ActionResult ChangeUserControl(short item, std::int32_t value);

	// Presses a key. A registered hot key of a panel with hot keys enabled raises
	// PanelHotkeyPressed; any other key is refused.
	ActionResult PressKey(short key, unsigned modifiers = Modifier::None);
	// The close box: PanelCloseRequested, and when every observer accepts, a modal dialog closes
	// with Cancel and a modeless one is hidden (unless a handler deleted it).
	ActionResult PressCloseBox();
	// Resizes a dialog as its grow type allows: PanelResized with the change.
	ActionResult Resize(short width, short height);

private:
	std::uint64_t panelSerial;
};

} // namespace DG

// The change dialog of resource 32402: its lists, the offered levels, and storing the choice.
#include "lod/ChangeLODDialog.hpp"

#include "counting/CountResult.hpp"
#include "lod/LevelCodes.hpp"
#include "shell/ModuleState.hpp"
#include "shell/Preferences.hpp"

#include "DG/Keys.hpp"

namespace {

enum ItemNumber : short { RowsListItem = 1, LevelListItem = 2, OkButtonItem = 3, CancelButtonItem = 4 };

constexpr short NameFieldEnd = 139;
constexpr short LevelFieldBegin = 140;

// Whether the row offers the level; "Default" stands for the preferences' default level. A
// default outside the choices (damaged module data) is offered by no part.
bool Offers(const LibRow& row, short level)
{
	if (level == LevelCodes::Default)
		level = GetPreferences().defaultLevel;
	return LevelCodes::IsChoice(level) && row.available[level];
}

} // namespace

ChangeLODDialog::ChangeLODDialog(short resourceId, const std::vector<LibRow>& shownRows)
	: DG::ModalDialog(Module().resourceModuleId, resourceId), okButton(*this, OkButtonItem),
	  cancelButton(*this, CancelButtonItem), rowsList(*this, RowsListItem), levelList(*this, LevelListItem),
	  rows(shownRows)
{
	for (std::int16_t level = 0; level < LevelCodes::ChoiceCount; ++level) {
		levelList.AppendItem();
		levelList.SetTabItemText(levelList.GetItemCount(), 1, LevelName(level));
	}

	rowsList.SetTabFieldCount(2);
	rowsList.SetTabFieldProperties(1, 0, NameFieldEnd, DG::ListBox::Left, DG::ListBox::NoTruncate);
	rowsList.SetTabFieldProperties(
		2, LevelFieldBegin, rowsList.GetItemWidth(), DG::ListBox::Left, DG::ListBox::NoTruncate);
	for (const LibRow& row : rows) {
		rowsList.AppendItem();
		const int item = rowsList.GetItemCount();
		rowsList.SetTabItemText(item, 1, row.name.ToStd());
		rowsList.SetTabItemText(item, 2, LevelName(row.lod));
	}

	rowsList.Attach(*this);
	levelList.Attach(*this);
	okButton.Attach(*this);
	cancelButton.Attach(*this);
	Attach(static_cast<DG::PanelObserver&>(*this));
	EnableHotKeys();
	hotKeyId = RegisterHotKey(DG::Key::Escape);
}

ChangeLODDialog::~ChangeLODDialog()
{
	rowsList.Detach(*this);
	levelList.Detach(*this);
	okButton.Detach(*this);
	cancelButton.Detach(*this);
	Detach(static_cast<DG::PanelObserver&>(*this));
	if (hotKeyId != 0)
		UnregisterHotKey(hotKeyId);
}

void ChangeLODDialog::ButtonClicked(const DG::ButtonClickEvent& ev)
{
	if (ev.GetSource() == &okButton) {
		const short selected = levelList.GetSelectedItem();
		if (selected > 0)
			Apply(static_cast<short>(selected - 1));
		else
			PostCloseRequest(Cancel);
	} else if (ev.GetSource() == &cancelButton) {
		PostCloseRequest(Cancel);
	}
}

void ChangeLODDialog::ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& ev)
{
	if (ev.GetSource() == &levelList) {
		const short selected = levelList.GetSelectedItem();
		if (selected > 0)
			OfferRowsFor(static_cast<short>(selected - 1));
	} else if (ev.GetSource() == &rowsList) {
		// The rows list only shows what will change.
		rowsList.DeselectAll();
	}
}

void ChangeLODDialog::ListBoxClicked(const DG::ListBoxClickEvent& ev)
{
	if (ev.GetSource() == &rowsList)
		rowsList.DeselectAll();
}

void ChangeLODDialog::ListBoxContextMenuRequested(const DG::ListBoxContextMenuEvent& ev, bool*)
{
	if (ev.GetSource() == &rowsList)
		rowsList.DeselectAll();
}

void ChangeLODDialog::PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool* processed)
{
	if (ev.GetKeyId() != hotKeyId)
		return;
	*processed = true;
	PostCloseRequest(Cancel);
}

void ChangeLODDialog::OfferRowsFor(short level)
{
	const int count = rowsList.GetItemCount();
	for (int item = 1; item <= count && static_cast<std::size_t>(item) <= rows.size(); ++item) {
		if (Offers(rows[static_cast<std::size_t>(item - 1)], level))
			rowsList.EnableItem(item);
		else
			rowsList.GrayItem(item);
	}
}

void ChangeLODDialog::Apply(short level)
{
	Preferences& preferences = GetPreferences();
	bool changed = false;
	const int count = rowsList.GetItemCount();
	for (int item = 1; item <= count && static_cast<std::size_t>(item) <= rows.size(); ++item) {
		if (rowsList.IsItemGrayed(item))
			continue;
		const GuidStr& guid = rows[static_cast<std::size_t>(item - 1)].guid;
		// A part the table no longer holds (it changed since the list was filled) gets an entry
		// now, and its new level is a change.
		short* stored = preferences.levelTable.GetPtr(guid);
		if (stored == nullptr) {
			preferences.levelTable.Add(guid, level);
			changed = true;
			continue;
		}
		if (*stored != level)
			changed = true;
		*stored = level;
	}
	// Custom, and Default while the default is Custom, leave the elements as they are.
	const bool leavesElements =
		level == LevelCodes::Custom || (level == LevelCodes::Default && preferences.defaultLevel == LevelCodes::Custom);
	const bool recount = changed && !leavesElements;
	// Without a run the current result's rows would write their old level back before the
	// next save or run.
	if (CountResult* result = CurrentCountResult(); !recount && result != nullptr)
		for (int item = 1; item <= count && static_cast<std::size_t>(item) <= rows.size(); ++item)
			if (!rowsList.IsItemGrayed(item))
				TakeStoredLevel(*result, rows[static_cast<std::size_t>(item - 1)].guid, level);
	PostCloseRequest(recount ? Accept : Cancel);
}

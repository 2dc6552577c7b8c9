// What the dialog library's tests share: the test program's own dialog resources, an open
// palette built from them, and a spy that writes down every event it receives.
#pragma once

#include "DG/DG.hpp"
#include "VX/ResourceManager.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace DialogTest {

// Dialog resources of resources/test_dialogs.json, carried by the test program itself.
inline constexpr short LibraryDialog = 1000;
inline constexpr short PageDialog = 1001;
inline constexpr short MessageDialog = 1002;
inline constexpr short EmptyDialog = 1003;
inline constexpr short RightIcon = 1100;
inline constexpr short DownIcon = 1101;

// Items of LibraryDialog.
enum LibraryItem : short {
	OkItem = 1,
	CancelItem,
	RememberItem,
	HelloItem,
	FirstRadioItem,
	SecondRadioItem,
	EditItem,
	PopUpItem,
	SingleListItem,
	MultiListItem,
	IconItemNumber,
	UserControlItem,
	MiddleTextItem,
	RightTextItem
};

// The id of the test program's resources, added once.
inline DG::ResourceModule TestResources()
{
	static const DG::ResourceModule module = RSAddModule(nullptr);
	return module;
}

inline const VX::Guid& TestGuid()
{
	static const VX::Guid guid("{11111111-2222-3333-4444-555555555555}");
	return guid;
}

// A palette of LibraryDialog that a person can act on.
inline std::unique_ptr<DG::Palette> OpenLibraryPalette()
{
	auto palette = std::make_unique<DG::Palette>(TestResources(), LibraryDialog, TestGuid());
	palette->BeginEventProcessing();
	palette->Show();
	return palette;
}

class EventSpy : public DG::PanelObserver,
				 public DG::ButtonItemObserver,
				 public DG::CheckItemObserver,
				 public DG::RadioItemObserver,
				 public DG::IntEditObserver,
				 public DG::PopUpObserver,
				 public DG::ListBoxObserver,
				 public DG::UserControlObserver {
public:
	std::vector<std::string> events;
	// The source of the last item event, as the event named it.
	const void* lastSource = nullptr;
	// Set by PanelCloseRequested when the spy refuses closing.
	bool refuseClose = false;
	bool processHotKeys = false;

	void PanelOpened(const DG::PanelOpenEvent& ev) override { Note("PanelOpened", ev.GetSource()); }
	void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override
	{
		Note("PanelCloseRequested", ev.GetSource());
		if (refuseClose)
			*accepted = false;
	}
	void PanelResized(const DG::PanelResizeEvent& ev) override
	{
		Note("PanelResized " + std::to_string(ev.GetHorizontalChange()) + " " + std::to_string(ev.GetVerticalChange()),
			ev.GetSource());
	}
	void PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool* processed) override
	{
		Note("PanelHotkeyPressed " + std::to_string(ev.GetKeyId()), ev.GetSource());
		*processed = processHotKeys;
	}
	void ButtonClicked(const DG::ButtonClickEvent& ev) override { NoteItem("ButtonClicked", ev.GetSource()); }
	void CheckItemChanged(const DG::CheckItemChangeEvent& ev) override
	{
		NoteItem(
			std::string("CheckItemChanged ") + (ev.GetSource()->IsChecked() ? "checked" : "clear"), ev.GetSource());
	}
	void RadioItemChanged(const DG::RadioItemChangeEvent& ev) override { NoteItem("RadioItemChanged", ev.GetSource()); }
	void IntEditChanged(const DG::IntEditChangeEvent& ev) override
	{
		NoteItem("IntEditChanged " + std::to_string(ev.GetPreviousValue()) + " to " +
				std::to_string(ev.GetSource()->GetValue()),
			ev.GetSource());
	}
	void PopUpChanged(const DG::PopUpChangeEvent& ev) override
	{
		NoteItem("PopUpChanged " + std::to_string(ev.GetPreviousSelection()) + " to " +
				std::to_string(ev.GetSource()->GetSelectedItem()),
			ev.GetSource());
	}
	void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& ev) override
	{
		NoteItem("ListBoxSelectionChanged", ev.GetSource());
	}
	void ListBoxClicked(const DG::ListBoxClickEvent& ev) override { NoteMouse("ListBoxClicked", ev); }
	void ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& ev) override { NoteMouse("ListBoxDoubleClicked", ev); }
	void ListBoxContextMenuRequested(const DG::ListBoxContextMenuEvent& ev, bool*) override
	{
		NoteMouse("ListBoxContextMenuRequested", ev);
	}
	void UserControlChanged(const DG::UserControlChangeEvent& ev) override
	{
		NoteItem("UserControlChanged " + std::to_string(ev.GetPreviousValue()) + " to " +
				std::to_string(ev.GetSource()->GetValue()),
			ev.GetSource());
	}

private:
	void Note(const std::string& what, const DG::Panel* source)
	{
		events.push_back(what);
		lastSource = source;
	}
	void NoteItem(const std::string& what, const DG::Item* source)
	{
		events.push_back(what + " item " + std::to_string(source->GetIndex()));
		lastSource = source;
	}
	void NoteMouse(const std::string& what, const DG::ListBoxMouseEvent& ev)
	{
		std::string text =
			what + " row " + std::to_string(ev.GetListItem()) + " x " + std::to_string(ev.GetMouseOffset().x);
		if (ev.IsCommandPressed())
			text += " command";
		if (ev.IsOptionPressed())
			text += " option";
		if (ev.IsShiftPressed())
			text += " shift";
		events.push_back(text);
		lastSource = ev.GetSource();
	}
};

} // namespace DialogTest

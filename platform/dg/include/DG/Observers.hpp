// The observer classes. A class that wants a panel's or an item's events derives from the
// observer class and attaches itself to the panel or item (Attach on the panel or item); it
// detaches in its destructor. An observer that is destroyed while still attached is detached
// by the library, and an observer may detach, delete other observers or delete the observed
// panel from inside a handler: the library then calls nobody else for that event.
#pragma once

#include "DG/Events.hpp"

#include <cstdint>

namespace DG {

namespace detail {
struct ObserverAccess;

// Ties an observer to its attachments, so they end with it.
class ObserverLink {
public:
	ObserverLink();
	~ObserverLink();
	ObserverLink(const ObserverLink&) = delete;
	ObserverLink& operator=(const ObserverLink&) = delete;
	std::uint64_t Serial() const { return serial; }

private:
	std::uint64_t serial;
};
} // namespace detail

class PanelObserver {
public:
	PanelObserver() = default;
	virtual ~PanelObserver();

	virtual void PanelOpened(const PanelOpenEvent& ev);
	// accepted arrives true; an observer sets it false to keep the panel open.
	virtual void PanelCloseRequested(const PanelCloseRequestEvent& ev, bool* accepted);
	virtual void PanelResized(const PanelResizeEvent& ev);
	// processed arrives false; an observer that handled the key sets it true.
	virtual void PanelHotkeyPressed(const PanelHotKeyEvent& ev, bool* processed);

private:
	friend struct detail::ObserverAccess;
	detail::ObserverLink observerLink;
};

class ButtonItemObserver {
public:
	ButtonItemObserver() = default;
	virtual ~ButtonItemObserver();
	virtual void ButtonClicked(const ButtonClickEvent& ev);

private:
	friend struct detail::ObserverAccess;
	detail::ObserverLink observerLink;
};

class CheckItemObserver {
public:
	CheckItemObserver() = default;
	virtual ~CheckItemObserver();
	virtual void CheckItemChanged(const CheckItemChangeEvent& ev);

private:
	friend struct detail::ObserverAccess;
	detail::ObserverLink observerLink;
};

class RadioItemObserver {
public:
	RadioItemObserver() = default;
	virtual ~RadioItemObserver();
	// Raised for the radio button a person selected.
	virtual void RadioItemChanged(const RadioItemChangeEvent& ev);

private:
	friend struct detail::ObserverAccess;
	detail::ObserverLink observerLink;
};

class IntEditObserver {
public:
	IntEditObserver() = default;
	virtual ~IntEditObserver();
	virtual void IntEditChanged(const IntEditChangeEvent& ev);

private:
	friend struct detail::ObserverAccess;
	detail::ObserverLink observerLink;
};

class PopUpObserver {
public:
	PopUpObserver() = default;
	virtual ~PopUpObserver();
	virtual void PopUpChanged(const PopUpChangeEvent& ev);

private:
	friend struct detail::ObserverAccess;
	detail::ObserverLink observerLink;
};

class ListBoxObserver {
public:
	ListBoxObserver() = default;
	virtual ~ListBoxObserver();
	virtual void ListBoxSelectionChanged(const ListBoxSelectionEvent& ev);
	virtual void ListBoxClicked(const ListBoxClickEvent& ev);
	virtual void ListBoxDoubleClicked(const ListBoxDoubleClickEvent& ev);
	// processed arrives false; an observer that showed a menu sets it true.
	virtual void ListBoxContextMenuRequested(const ListBoxContextMenuEvent& ev, bool* processed);

private:
	friend struct detail::ObserverAccess;
	detail::ObserverLink observerLink;
};

class UserControlObserver {
public:
	UserControlObserver() = default;
	virtual ~UserControlObserver();
	virtual void UserControlChanged(const UserControlChangeEvent& ev);

private:
	friend struct detail::ObserverAccess;
	detail::ObserverLink observerLink;
};

} // namespace DG

// The observer classes' default handlers (they do nothing) and the link that detaches an
// observer from everything when it ends.
#include "DG/Observers.hpp"

#include "World.hpp"

namespace DG {

namespace detail {
ObserverLink::ObserverLink() : serial(World::Get().NewSerial())
{
}
ObserverLink::~ObserverLink()
{
	World::Get().RemoveObserver(serial);
}
} // namespace detail

PanelObserver::~PanelObserver() = default;
void PanelObserver::PanelOpened(const PanelOpenEvent&)
{
}
void PanelObserver::PanelCloseRequested(const PanelCloseRequestEvent&, bool*)
{
}
void PanelObserver::PanelResized(const PanelResizeEvent&)
{
}
void PanelObserver::PanelHotkeyPressed(const PanelHotKeyEvent&, bool*)
{
}

ButtonItemObserver::~ButtonItemObserver() = default;
void ButtonItemObserver::ButtonClicked(const ButtonClickEvent&)
{
}

CheckItemObserver::~CheckItemObserver() = default;
void CheckItemObserver::CheckItemChanged(const CheckItemChangeEvent&)
{
}

RadioItemObserver::~RadioItemObserver() = default;
void RadioItemObserver::RadioItemChanged(const RadioItemChangeEvent&)
{
}

IntEditObserver::~IntEditObserver() = default;
void IntEditObserver::IntEditChanged(const IntEditChangeEvent&)
{
}

PopUpObserver::~PopUpObserver() = default;
void PopUpObserver::PopUpChanged(const PopUpChangeEvent&)
{
}

ListBoxObserver::~ListBoxObserver() = default;
void ListBoxObserver::ListBoxSelectionChanged(const ListBoxSelectionEvent&)
{
}
void ListBoxObserver::ListBoxClicked(const ListBoxClickEvent&)
{
}
void ListBoxObserver::ListBoxDoubleClicked(const ListBoxDoubleClickEvent&)
{
}
void ListBoxObserver::ListBoxContextMenuRequested(const ListBoxContextMenuEvent&, bool*)
{
}

UserControlObserver::~UserControlObserver() = default;
void UserControlObserver::UserControlChanged(const UserControlChangeEvent&)
{
}

} // namespace DG

// Attaching observers to item handles, and the radio group rule that code and a person share.
#pragma once

#include "World.hpp"

namespace DG::detail {

template <class Observer>
void AttachObserver(Item& item, Observer& observer, ObserverKind kind)
{
	if (!item.IsValid())
		return;
	Attachment attachment;
	attachment.observer = ObserverAccess::SerialOf(observer);
	attachment.kind = kind;
	attachment.target = &observer;
	attachment.panel = ItemAccess::PanelSerial(item);
	attachment.itemIndex = item.GetIndex();
	attachment.item = &item;
	World::Get().Attach(attachment);
}

template <class Observer>
void DetachObserver(Item& item, Observer& observer)
{
	World::Get().Detach(ObserverAccess::SerialOf(observer), ItemAccess::PanelSerial(item), item.GetIndex(), &item);
}

// Selects radio button index of the panel and deselects the others of its group.
inline void SelectRadioButton(PanelState& panel, short index)
{
	ItemData* chosen = panel.FindItem(index);
	if (chosen == nullptr)
		return;
	if (chosen->radioGroup != 0) {
		for (ItemData& item : panel.items) {
			if (item.kind == ItemKind::RadioButton && item.radioGroup == chosen->radioGroup)
				item.checked = false;
		}
	}
	chosen->checked = true;
}

} // namespace DG::detail

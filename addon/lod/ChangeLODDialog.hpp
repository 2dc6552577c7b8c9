// The modal dialog in which the user chooses one level of detail for the library parts
// selected in the results list: the parts on the left with their current level, the five
// levels on the right. Choosing a level grays the parts that do not offer it; OK stores the
// level for the others in the preferences' level table and is accepted only when that
// changes what a counting run would do.
#pragma once

#include "counting/LibRow.hpp"

#include "DG/Item.hpp"
#include "DG/ListBox.hpp"
#include "DG/Observers.hpp"
#include "DG/Panel.hpp"

#include <vector>

class ChangeLODDialog : public DG::ModalDialog,
						public DG::ButtonItemObserver,
						public DG::ListBoxObserver,
						public DG::PanelObserver {
public:
	static constexpr short ResourceId = 32402;

	// rows are the parts to change, owned by the caller for the dialog's lifetime.
	ChangeLODDialog(short resourceId, const std::vector<LibRow>& rows);
	~ChangeLODDialog() override;

private:
	void ButtonClicked(const DG::ButtonClickEvent& ev) override;
	void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& ev) override;
	void ListBoxClicked(const DG::ListBoxClickEvent& ev) override;
	void ListBoxContextMenuRequested(const DG::ListBoxContextMenuEvent& ev, bool* processed) override;
	void PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool* processed) override;

	void OfferRowsFor(short level);
	void Apply(short level);

	DG::Button okButton;
	DG::Button cancelButton;
	DG::SingleSelListBox rowsList;
	DG::SingleSelListBox levelList;
	const std::vector<LibRow>& rows;
	short hotKeyId = 0;
};

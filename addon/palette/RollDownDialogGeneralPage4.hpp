// Page 4 of the palette, the results: the count as a foldable table (SizeList) whose columns
// follow the page's width. Its Refresh counts with the settings the command page stored,
// keeps the levels the run found, refills the list where it was scrolled to and shows the
// default level on page 3. A click on a type's triangle folds or unfolds it; a double click on
// a row's text starts Set Level of Detail.
#pragma once

#include "palette/RollDownDialogGeneralPage.hpp"
#include "palette/SizeList.hpp"

class RollDownDialogGeneralPage4 : public RollDownDialogGeneralPage,
								   public DG::PopUpObserver,
								   public DG::ListBoxObserver,
								   public DG::UserControlObserver {
public:
	explicit RollDownDialogGeneralPage4(const DG::TabControl& control);
	~RollDownDialogGeneralPage4() override;

	// The list is emptied before the run, so no row outlives the result it points into. A run
	// that throws leaves the list showing the result that stays current, and the exception
	// goes on to the caller.
	void Refresh();
	// The Detail Level column from the preferences' level table, without a recount.
	void RefillDetailLevels();
	SizeList& GetList() { return list; }

	void PanelResized(const DG::PanelResizeEvent& ev) override;
	void ListBoxClicked(const DG::ListBoxClickEvent& ev) override;
	void ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& ev) override;

private:
	SizeList list;
};

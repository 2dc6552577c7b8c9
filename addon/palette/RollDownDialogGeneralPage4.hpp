// Page 4 of the palette, the results, in its first form: the headers and the list of its
// resource, and the Refresh that counts with the settings the command page stored in the
// preferences, keeps the levels the run found and shows the default level on page 3. The
// list is not filled yet.
#pragma once

#include "palette/RollDownDialogGeneralPage.hpp"

#include "DG/ListBox.hpp"

class RollDownDialogGeneralPage4 : public RollDownDialogGeneralPage {
public:
	explicit RollDownDialogGeneralPage4(const DG::TabControl& control);

	// Counts, stores the rows' levels in the preferences and sets page 3's pop-up.
	void Refresh();
	DG::MultiSelListBox& GetList() { return list; }

private:
	DG::MultiSelListBox list;
};

// A palette holding one multiple-selection list filled as the results page fills it, every
// type unfolded: type rows (fold icon, name, booking type as value, grayed) and under them
// their library-part rows (child marker, name, the row's address in the module's current
// count result as value; grayed as the page grays them). The Select and Set Level of
// Detail commands read such a list; a test marks rows in it as a person would.
#pragma once

#include "probe/ProbeControl.hpp"

#include "DG/ListBox.hpp"
#include "DG/Panel.hpp"
#include "DG/User.hpp"

#include <memory>
#include <string_view>

class ResultsListStandIn {
public:
	ResultsListStandIn();
	~ResultsListStandIn();

	void Fill(const ProbeResult& result, const ProbeControl& probe);
	// Adds the row showing the text to the marked rows (a Command-click).
	void Mark(std::string_view rowText);
	// A type row with any value, as a damaged list could hold.
	void AppendTypeRow(std::uintptr_t value, std::string_view name);

	const DG::ListBox& List() const { return *list; }

private:
	std::unique_ptr<DG::Palette> palette;
	std::unique_ptr<DG::MultiSelListBox> list;
};

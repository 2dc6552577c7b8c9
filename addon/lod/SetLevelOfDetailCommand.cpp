// Gathering the parts of the marked rows, the change dialog, and what follows it.
#include "lod/SetLevelOfDetailCommand.hpp"

#include "counting/CountResult.hpp"
#include "counting/ElementTypes.hpp"
#include "counting/ResultsListRows.hpp"
#include "counting/RowOrder.hpp"
#include "lod/ChangeLODDialog.hpp"
#include "lod/LevelCodes.hpp"
#include "palette/RollDownDialogGeneralPage4.hpp"
#include "palette/RollDownDialogGeneralPage5.hpp"
#include "palette/RollDownPalette.hpp"
#include "shell/ResourceModuleScope.hpp"

#include <set>

std::vector<LibRow> RowsToChange(const DG::ListBox& resultsList)
{
	std::vector<LibRow> toChange;
	// The rows of the last marked type row: its own part rows below it are not taken twice.
	std::set<LibRow, RowOrder> remembered;
	for (const int item : resultsList.GetSelectedItems()) {
		if (ResultsListRows::IsLibPartRow(resultsList, item)) {
			const LibRow* row = ResultsListRows::RowOf(resultsList, item);
			if (row != nullptr && !resultsList.IsItemGrayed(item) && !remembered.contains(*row))
				toChange.push_back(*row);
		} else if (ResultsListRows::IsFoldableTypeRow(resultsList, item)) {
			const std::uintptr_t type = resultsList.GetItemValue(item);
			const CountResult* result = CurrentCountResult();
			if (result == nullptr || type >= static_cast<std::uintptr_t>(ElementTypes::NamedCount))
				continue;
			const std::vector<LibRow>* typeRows = result->sortedRows.GetPtr(static_cast<API_ElemTypeID>(type));
			remembered.clear();
			if (typeRows == nullptr)
				continue;
			remembered.insert(typeRows->begin(), typeRows->end());
			for (const LibRow& row : remembered)
				if (row.lod < LevelCodes::NoParameter)
					toChange.push_back(row);
		}
	}
	return toChange;
}

bool ChangeLevelsOfMarkedRows(const DG::ListBox& resultsList)
{
	const std::vector<LibRow> toChange = RowsToChange(resultsList);
	ResourceModuleScope scope;
	ChangeLODDialog dialog(ChangeLODDialog::ResourceId, toChange);
	return !toChange.empty() && dialog.Invoke();
}

void SetLevelOfDetailCommand(RollDownDialogGeneralPage4& resultsPage)
{
	if (ChangeLevelsOfMarkedRows(resultsPage.GetList())) {
		RollDownPalette* palette = GetOpenPalette();
		if (palette != nullptr && palette->GetPage5() != nullptr)
			palette->GetPage5()->RefreshCommand();
	} else {
		resultsPage.RefillDetailLevels();
	}
}

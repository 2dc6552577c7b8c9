// The Set Level of Detail command: the library parts behind the marked rows of the results
// list go into the change dialog; when the level chosen there changes what a counting run
// does, the palette recounts (which rewrites the elements), otherwise the results list only
// shows the stored levels again.
#pragma once

#include "counting/LibRow.hpp"

#include "DG/ListBox.hpp"

#include <vector>

class RollDownDialogGeneralPage4;

// The parts the marked rows stand for, each once: a marked library-part row that is not
// grayed, and for a marked type row that can fold out, every part of its type that has a
// level-of-detail parameter.
std::vector<LibRow> RowsToChange(const DG::ListBox& resultsList);

// Shows the change dialog for the parts of the marked rows; true when it stored a level that
// a counting run must apply. Without such parts no dialog is shown.
bool ChangeLevelsOfMarkedRows(const DG::ListBox& resultsList);

void SetLevelOfDetailCommand(RollDownDialogGeneralPage4& resultsPage);

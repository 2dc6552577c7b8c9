// A panel as plain text, for terminals and transcripts: the title, then the shown items laid
// out roughly where they sit (items about level with each other on one line), each drawn so a
// person recognises it: "[ OK ]", "[x] Do not show again", "(*) All stories", "[   12 ]",
// "[Detailed v]", list rows with their fields in columns, "(disabled)" after unusable items.
// Tab controls show their pages below, indented.
#pragma once

#include <string>
#include <vector>

namespace DG {

class ListBox;
class Panel;

std::string RenderText(const Panel& panel);
// The rows of a list as RenderText draws them, one line each, without the list's indent: ">"
// for a selected row, "~" for a grayed one, then the fields shown at their columns.
std::vector<std::string> RenderListRows(const ListBox& list);

} // namespace DG

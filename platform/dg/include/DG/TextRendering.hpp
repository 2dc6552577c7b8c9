// A panel as plain text, for terminals and transcripts: the title, then the shown items laid
// out roughly where they sit (items about level with each other on one line), each drawn so a
// person recognises it: "[ OK ]", "[x] Do not show again", "(*) All stories", "[   12 ]",
// "[Detailed v]", list rows with their fields in columns, "(disabled)" after unusable items.
// Tab controls show their pages below, indented.
#pragma once

#include <string>

namespace DG {

class Panel;

std::string RenderText(const Panel& panel);

} // namespace DG

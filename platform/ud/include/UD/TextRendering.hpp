// A dialog with a roll-down surface as plain text, for terminals and transcripts: the title,
// then each shown panel from top to bottom with its title bar ("[-] title" rolled down,
// "[+] title" rolled up, no mark on a panel that does not roll) and, when rolled down, its
// page's items drawn as the dialog library draws them, indented; a rule before the bottom
// panel. A dialog without a surface is drawn as the dialog library draws it.
#pragma once

#include <string>

namespace DG {
class Dialog;
}

namespace UD {

std::string RenderText(const DG::Dialog& dialog);

} // namespace UD

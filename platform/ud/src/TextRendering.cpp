// Draws the surface's panels in stack order, each page through the dialog library's own
// rendering without its "--- tab page ---" line.
#include "UD/TextRendering.hpp"

#include "DG/Panel.hpp"
#include "DG/TextRendering.hpp"
#include "UD/RollDownSurface.hpp"

namespace UD {

std::string RenderText(const DG::Dialog& dialog)
{
	const RollDownSurface* surface = FindRollDownSurface(dialog);
	if (surface == nullptr)
		return DG::RenderText(dialog);
	std::string text = "=== " + dialog.GetTitle() + " ===";
	if (!dialog.IsValid())
		text += " (not valid: " + dialog.GetProblem() + ")";
	text += "\n";
	for (const RollDownPanel* panel : surface->ShownPanels()) {
		if (panel->IsBottomPanel())
			text += std::string(40, '-') + "\n";
		else
			text += std::string(!panel->IsCollapsible() ? "    "
							: panel->IsRolledDown()     ? "[-] "
														: "[+] ") +
				panel->GetTitle() + "\n";
		const DG::TabPage* page = panel->GetPage();
		if (!panel->IsRolledDown() || page == nullptr)
			continue;
		const std::string drawn = DG::RenderText(*page);
		// Skip the page's own header line.
		std::size_t start = drawn.find('\n');
		start = start == std::string::npos ? drawn.size() : start + 1;
		while (start < drawn.size()) {
			std::size_t end = drawn.find('\n', start);
			if (end == std::string::npos)
				end = drawn.size();
			text += "    " + drawn.substr(start, end - start) + "\n";
			start = end + 1;
		}
	}
	return text;
}

} // namespace UD

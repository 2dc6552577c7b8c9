// What the page draws, as JSON: the host's window (project name, menu items with their check
// marks, the progress window, the selection, the latest transcript lines)
// and every window of the dialog library a person sees now, taken from the library's own view
// of its panels. The page draws nothing the host does not hold. The report window's lines are
// not part of it: the server sends each page the lines it has not had yet.
#pragma once
#include "DG/PanelView.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace ReferenceHost {

class Host;

// How the page's session stands, besides what the host holds.
struct WebUiStatus {
	// A person's action is being carried out (a command runs).
	bool busy = false;
	// Modal dialogs the page's person is answering now.
	int openModalDialogs = 0;
};

nlohmann::json DescribePanel(const DG::PanelView& panel);
nlohmann::json DescribeHostWindow(Host& host, const WebUiStatus& status);

} // namespace ReferenceHost

// facetally-host --ui: the running host as a page in a browser. The program's one thread is
// the host's user-interface thread: it takes the page's actions in the order they came and
// carries them out, and publishes what the host shows after each, and while a command runs.
// Modal dialogs wait for the page's person like a desktop's: while one is open the actions go
// to it, and the command that showed it goes on once it closes.
#pragma once
#include <ostream>
#include <string>

namespace ReferenceHost {

class Host;

struct WebUiOptions {
	// 0: any free port.
	int port = 0;
};

// Opens the project (a new untitled one when empty), serves the page until the page's person
// quits (or the program is interrupted) and quits the host. Answers the program's exit code.
int RunWebUiSession(
	Host& host, const std::string& project, const WebUiOptions& options, std::ostream& out, std::ostream& err);

} // namespace ReferenceHost

// The host's main job, what `facetally-host PROJECT` does: open the project, choose the menu
// command of every loaded add-on, as a person trying each add-on would, and quit.
#pragma once

#include "Host.hpp"

#include <filesystem>

namespace ReferenceHost {

// Runs the main job on a host whose add-ons are loaded. Answers the exit code: 0 when every
// step succeeded, 1 when the project could not be opened, no add-on runs, or a menu command
// failed.
int RunMainJob(Host& host, const std::filesystem::path& projectFile);

} // namespace ReferenceHost

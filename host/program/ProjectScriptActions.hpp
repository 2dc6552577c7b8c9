// The script actions of a person working in the project (select, lock, edit a parameter, go
// to a story or window) and the checks of what the project then holds. They join the host's
// other actions in ScriptActions().
#pragma once

#include "Script.hpp"

#include <vector>

namespace ReferenceHost {

std::vector<ScriptActionDefinition> ProjectScriptActions();

} // namespace ReferenceHost

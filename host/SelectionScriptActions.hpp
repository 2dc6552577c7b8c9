// What a person sees of the project's selection and view: which elements are selected (by
// type and index, with the library part they are placed from), the current story and the
// kind of the current window; and the check that exactly the named elements are selected.
// They join the host's other actions in ScriptActions().
#pragma once

#include "Script.hpp"

#include <vector>

namespace ReferenceHost {

std::vector<ScriptActionDefinition> SelectionScriptActions();

} // namespace ReferenceHost

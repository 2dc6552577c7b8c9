// The script actions of a person's hands on a palette's list: clicking and double-clicking a
// row (at a chosen place, with modifier keys), folding and unfolding a row by its triangle,
// and the checks of the rows a person reads. They join the host's other palette actions.
#pragma once

#include "Script.hpp"

#include <vector>

namespace ReferenceHost {

std::vector<ScriptActionDefinition> PaletteListScriptActions();

} // namespace ReferenceHost

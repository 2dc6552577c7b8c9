// The script actions of a person's hands on an add-on's palette (look, click, type, choose,
// roll a panel, resize, close box) and the checks of what that person sees on it. They join
// the host's other actions in ScriptActions().
#pragma once

#include "Script.hpp"

#include <vector>

namespace ReferenceHost {

std::vector<ScriptActionDefinition> PaletteScriptActions();

// The open palette (of the add-on, when given) as a person reads it, one line each; empty when
// none is open.
std::vector<std::string> PaletteLines(Host& host, const AddOn* owner = nullptr);

} // namespace ReferenceHost

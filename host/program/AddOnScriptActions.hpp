// The script actions of a person meeting what add-ons show and keep: answering their modal
// dialogs, stopping their progress window, merging another project's module data, and the
// checks of each. They join the host's other actions in ScriptActions().
#pragma once

#include "Script.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace ReferenceHost {

std::vector<ScriptActionDefinition> AddOnScriptActions();

// The module data of an add-on as a person reads them: the bytes with every zero written
// as "|" (a block of text pairs "A", "0" reads "A|0|").
std::string ModuleDataText(const std::vector<std::uint8_t>& bytes);

} // namespace ReferenceHost

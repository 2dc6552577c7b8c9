// The STEP text of an IFC file: the file itself, or the .ifc file inside a zipped .ifczip.
#pragma once

#include <optional>
#include <string>

namespace IfcReading {

// The text; nothing, with the reason in problem, when it cannot be read.
std::optional<std::string> ReadIfcFileText(const std::string& file, std::string& problem);

} // namespace IfcReading

// Files the host writes are written whole or not at all: the text goes to a file beside the
// final one, which then takes its place, so a failed write leaves the old file as it was
// and nothing half written.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ReferenceHost {

// Writes text as the file named (a symbolic link stays and its target takes the text); false
// with a message beginning with what ("Cannot write the project file NAME: ...").
bool WriteFileWhole(
	const std::filesystem::path& named, std::string_view text, const std::string& what, std::string& problem);

} // namespace ReferenceHost

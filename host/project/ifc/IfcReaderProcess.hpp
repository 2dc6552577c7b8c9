// The converter program run as a process of its own: its request written to its standard
// input, its answer read from its standard output, its "progress DONE TOTAL" and "refused WHY"
// lines from its standard error. The host can stop it at once, and whatever happens to it
// stays out of the host.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ReferenceHost {

// Elements converted so far and in all; answers false to stop the converter.
using IfcReadProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Runs reader with arguments and input; its standard output in output, or false with the
// reason, naming what (a file's name), in problem ("stopped" when progress asked to stop).
bool RunIfcReader(const std::filesystem::path& reader, const std::vector<std::string>& arguments,
	const std::string& input, const IfcReadProgress& progress, const std::string& what, std::string& output,
	std::string& problem);

} // namespace ReferenceHost

// IFC files in the host: a building model read through the converter program
// (facetally-ifc-reader, installed beside the host's own program), which runs as a process of its own
// and hands back the project model. The host waits for it, shows its progress, and can stop
// it at once; whatever happens to it, the project that was open stays as it was.
#pragma once

#include "IfcReaderProcess.hpp"
#include "Project.hpp"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace ReferenceHost {

// A file the host reads as IFC: its name ends in .ifc or .ifczip (any case).
bool IsIfcFile(const std::filesystem::path& file);

// What the converter read besides the project.
struct IfcReadSummary {
	std::string schema; // "IFC2X3" or "IFC4"
	std::int32_t withoutGeometry = 0;
	std::int32_t skippedEntities = 0;
	std::int64_t peakMemoryBytes = 0; // of the converter process
	double cpuSeconds = 0;            // of the converter process
};

// The name of the converter program.
inline constexpr const char* IfcReaderProgramName = "facetally-ifc-reader";

// The project of the IFC file as the converter program reader reads it (carrying the file's
// path), or null with the reason, naming the file, in problem ("stopped" when progress asked
// to stop).
std::unique_ptr<Project> ReadIfcProjectFile(const std::filesystem::path& reader, const std::filesystem::path& file,
	const IfcReadProgress& progress, IfcReadSummary& summary, std::string& problem);

} // namespace ReferenceHost

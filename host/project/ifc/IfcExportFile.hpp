// A project read from IFC, exported as a lighter IFC file: the source file with each library
// part's body at the level its placements show ("Simple" a box, "Off" none), and the add-ons'
// module data along. The converter program does the work on the source file; the host hands
// it the levels and writes its answer whole or not at all.
#pragma once

#include "IfcReaderProcess.hpp"
#include "Project.hpp"

#include <cstdint>
#include <filesystem>
#include <string>

namespace ReferenceHost {

struct IfcExportSummary {
	std::int32_t simple = 0;     // parts written as a box
	std::int32_t off = 0;        // parts written without their body
	std::int32_t mixed = 0;      // parts whose placements show different levels
	std::uint64_t bytes = 0;     // of the file written
	std::int64_t peakMemoryBytes = 0; // of the converter process
};

// Whether the file is one an export wrote: a STEP file whose header names Facetally as its
// preprocessor.
bool IsLighterIfcFile(const std::filesystem::path& file);

// Writes the project, read from the IFC file source, as the IFC file target; false with the
// reason, naming the file, in problem ("stopped" when progress asked to stop), and nothing
// written.
bool ExportLighterIfcFile(const std::filesystem::path& reader, const Project& project,
	const std::filesystem::path& source, const std::filesystem::path& target, const IfcReadProgress& progress,
	IfcExportSummary& summary, std::string& problem);

} // namespace ReferenceHost

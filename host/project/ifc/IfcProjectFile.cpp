#include "IfcProjectFile.hpp"

#include "FileChecks.hpp"
#include "ProjectFile.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>

namespace ReferenceHost {

bool IsIfcFile(const std::filesystem::path& file)
{
	std::string extension = file.extension().string();
	std::transform(extension.begin(), extension.end(), extension.begin(),
		[](unsigned char c) { return static_cast<char>(std::tolower(c)); });
	return extension == ".ifc" || extension == ".ifczip";
}

std::unique_ptr<Project> ReadIfcProjectFile(const std::filesystem::path& reader, const std::filesystem::path& file,
	const IfcReadProgress& progress, IfcReadSummary& summary, std::string& problem)
{
	const std::string name = file.filename().string();
	if (!CheckFileBeforeReading(file, MostProjectFileBytes, "Cannot read the IFC file", problem))
		return nullptr;
	std::string output;
	if (!RunIfcReader(reader, {file.string()}, {}, progress, name, output, problem))
		return nullptr;

	// The first line says what was read, the rest is the project file's text.
	const std::size_t firstLine = output.find('\n');
	const nlohmann::json read = nlohmann::json::parse(output.substr(0, firstLine), nullptr, false);
	if (firstLine == std::string::npos || !read.is_object()) {
		problem = name + ": the IFC reader's answer cannot be read";
		return nullptr;
	}
	summary.schema = read.value("schema", "");
	summary.withoutGeometry = read.value("withoutGeometry", 0);
	summary.skippedEntities = read.value("skippedEntities", 0);
	summary.peakMemoryBytes = read.value("peakMemoryBytes", std::int64_t {0});
	summary.cpuSeconds = read.value("cpuSeconds", 0.0);
	// The geometry's block closes the answer.
	const std::uint64_t geometryBytes = read.value("geometryBytes", std::uint64_t {0});
	if (geometryBytes > output.size() - firstLine - 1) {
		problem = name + ": the IFC reader's answer is cut short";
		return nullptr;
	}
	const std::size_t projectEnd = output.size() - geometryBytes;
	std::unique_ptr<Project> project =
		ParseProjectText(std::string_view(output).substr(firstLine + 1, projectEnd - firstLine - 1), name, problem);
	if (project == nullptr)
		return nullptr;
	if (geometryBytes > 0) {
		std::shared_ptr<ModelGeometry> geometry = ModelGeometry::FromBlock(std::string_view(output).substr(projectEnd), problem);
		if (geometry != nullptr)
			problem = geometry->MismatchWith(*project);
		if (geometry == nullptr || !problem.empty()) {
			problem = name + ": the IFC reader's geometry cannot be used (" + problem + ")";
			return nullptr;
		}
		geometry->AddPartBoxes();
		project->SetGeometry(std::move(geometry));
	}
	project->SetFile(file);
	project->SetIfcSchema(summary.schema);
	// A part's file is the IFC file that holds its type.
	for (const LibraryPart& part : project->LibraryParts())
		project->FindLibraryPart(part.index)->file = file.string();
	return project;
}

} // namespace ReferenceHost

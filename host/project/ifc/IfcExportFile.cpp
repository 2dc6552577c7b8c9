#include "IfcExportFile.hpp"

#include "FileWriting.hpp"
#include "ProjectFileFields.hpp"

#include <nlohmann/json.hpp>

#include <chrono>
#include <ctime>
#include <fstream>
#include <map>

namespace ReferenceHost {

namespace {

constexpr const char* LevelParameter = "detail3D";
constexpr std::int32_t ElementTypes = 34;

std::string TimeStampNow()
{
	const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
	std::tm utc {};
	gmtime_r(&now, &utc);
	char text[32];
	std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
	return text;
}

// The part's level: what most of its placements show (the add-on sets them all alike).
std::map<std::int32_t, std::string> LevelsOfParts(const Project& project, IfcExportSummary& summary)
{
	std::map<std::int32_t, std::map<std::string, std::int32_t>> shown;
	for (std::int32_t type = 0; type < ElementTypes; ++type)
		for (const Element& element : project.ElementsOf(type))
			if (element.libPartIndex > 0 && !element.deleted)
				if (const Parameter* level = FindParameter(element.parameters, LevelParameter);
					level && level->IsSingleText())
					++shown[element.libPartIndex][level->text];
	std::map<std::int32_t, std::string> levels;
	for (const auto& [part, counts] : shown) {
		auto most = counts.begin();
		for (auto it = counts.begin(); it != counts.end(); ++it)
			if (it->second > most->second)
				most = it;
		levels[part] = most->first;
		summary.mixed += counts.size() > 1 ? 1 : 0;
	}
	return levels;
}

std::string RequestText(const Project& project, const std::filesystem::path& target, IfcExportSummary& summary)
{
	nlohmann::json levels = nlohmann::json::object();
	for (const auto& [index, level] : LevelsOfParts(project, summary)) {
		const LibraryPart* part = project.FindLibraryPart(index);
		if (part == nullptr)
			continue;
		// The entity the converter found the part in, kept with the part when it was read.
		const nlohmann::json members = nlohmann::json::parse(part->unknownFields, nullptr, false);
		if (members.is_object() && members.contains("ifc") && members["ifc"].is_object() &&
			members["ifc"].contains("entity") && members["ifc"]["entity"].is_number_integer())
			levels[std::to_string(members["ifc"]["entity"].get<std::int64_t>())] = level;
	}
	nlohmann::json moduleData = nlohmann::json::array();
	for (const auto& [name, block] : project.AllModuleData())
		moduleData.push_back({{"addOn", name}, {"dataVersion", block.dataVersion},
			{"platformMark", block.platformMark}, {"bytes", ProjectJson::HexText(block.bytes.data(), block.bytes.size())}});
	return nlohmann::json({{"fileName", target.filename().string()}, {"timeStamp", TimeStampNow()},
							  {"levels", levels}, {"moduleData", moduleData}})
		.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace

bool IsLighterIfcFile(const std::filesystem::path& file)
{
	std::ifstream stream(file, std::ios::binary);
	std::string header(16384, '\0');
	stream.read(header.data(), static_cast<std::streamsize>(header.size()));
	header.resize(static_cast<std::size_t>(stream.gcount()));
	const std::size_t data = header.find("DATA;");
	const std::size_t fileName = header.find("FILE_NAME");
	return header.rfind("ISO-10303-21;", 0) == 0 && fileName < data &&
		header.find("'Facetally'", fileName) < data;
}

bool ExportLighterIfcFile(const std::filesystem::path& reader, const Project& project,
	const std::filesystem::path& source, const std::filesystem::path& target, const IfcReadProgress& progress,
	IfcExportSummary& summary, std::string& problem)
{
	const std::string request = RequestText(project, target, summary);
	std::string output;
	if (!RunIfcReader(reader, {"--export", source.string()}, request, progress, source.filename().string(), output,
			problem))
		return false;
	// A line of what was done, then the file's text.
	const std::size_t firstLine = output.find('\n');
	const nlohmann::json done = nlohmann::json::parse(output.substr(0, firstLine), nullptr, false);
	if (firstLine == std::string::npos || !done.is_object()) {
		problem = source.filename().string() + ": the IFC reader's answer cannot be read";
		return false;
	}
	summary.simple = done.value("simple", 0);
	summary.off = done.value("off", 0);
	summary.peakMemoryBytes = done.value("peakMemoryBytes", std::int64_t {0});
	const std::string_view text = std::string_view(output).substr(firstLine + 1);
	summary.bytes = text.size();
	return WriteFileWhole(target, text, "Cannot write the IFC file", problem);
}

} // namespace ReferenceHost

// facetally-ifc-reader FILE: the host's converter of IFC files (.ifc, or .ifczip holding one). It reads the file, converts it
// and writes the building, as the host's project model, to standard output; on standard
// error it reports "progress DONE TOTAL" lines while it converts, and "refused WHY" when the
// file cannot be read (exit 1). The host runs it as a process of its own, so the IFC
// library's faults and leaks never reach the person's open project and a stop is immediate.
//
// facetally-ifc-reader --export FILE: reads the export's request (JSON) on standard input,
// the library parts' levels and the module data, and writes a line of what it did, then the
// lighter file's text, to standard output.
#include "IfcConversion.hpp"
#include "IfcFileText.hpp"
#include "IfcProjectBuilder.hpp"
#include "LighterIfc.hpp"
#include "StepCheck.hpp"

#include <nlohmann/json.hpp>

#include <sys/resource.h>

#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>

namespace {

int Refuse(const std::string& why)
{
	std::cerr << "refused " << why << '\n';
	return 1;
}

// The work's exit code, or a refusal for what the reading threw: what is wrong with the file,
// a lack of memory while doing, or the IFC library's own failure.
int Guarded(const char* doing, const std::function<int()>& work)
{
	try {
		return work();
	} catch (const IfcReading::IfcRefusal& refusal) {
		return Refuse(refusal.what());
	} catch (const std::bad_alloc&) {
		return Refuse(std::string("not enough memory to ") + doing + " it");
	} catch (const std::exception& failure) {
		return Refuse(std::string("the IFC library failed: ") + failure.what());
	}
}

// Progress lines, about a hundred, whatever the size.
IfcReading::ConversionProgress ProgressLines()
{
	return [reported = std::size_t {0}](std::size_t done, std::size_t total) mutable {
		if (done == total || done * 100 / total != reported * 100 / total) {
			std::cerr << "progress " << done << ' ' << total << '\n';
			reported = done;
		}
	};
}

struct ExportRequest {
	IfcReading::ExportNames names;
	std::map<std::int32_t, IfcReading::DetailLevel> levels; // by part entity
	std::vector<IfcReading::ModuleDataProperties> moduleData;
};

// {"fileName", "timeStamp", "levels": {"ENTITY": "Simple" | "Off" | "Detailed"},
//  "moduleData": [{"addOn", "dataVersion", "platformMark", "bytes": HEX}]}
std::optional<ExportRequest> ReadExportRequest(std::istream& in, std::string& problem)
{
	const std::string text(std::istreambuf_iterator<char>(in), {});
	const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
	ExportRequest request;
	try {
		request.names.fileName = json.at("fileName").get<std::string>();
		request.names.timeStamp = json.at("timeStamp").get<std::string>();
		for (const auto& [entity, level] : json.at("levels").items()) {
			const std::string name = level.get<std::string>();
			request.levels[std::stoi(entity)] = name == IfcReading::SimpleValue ? IfcReading::DetailLevel::Simple
				: name == IfcReading::OffValue                                 ? IfcReading::DetailLevel::Off
																			   : IfcReading::DetailLevel::Detailed;
		}
		for (const auto& block : json.at("moduleData")) {
			IfcReading::ModuleDataProperties data;
			data.addOnName = block.at("addOn").get<std::string>();
			data.dataVersion = block.at("dataVersion").get<std::uint32_t>();
			data.platformMark = block.at("platformMark").get<std::uint16_t>();
			std::optional<std::vector<std::uint8_t>> bytes = IfcReading::BytesOfHex(block.at("bytes").get<std::string>());
			if (!bytes)
				throw std::invalid_argument("module data bytes are not hexadecimal");
			data.bytes = std::move(*bytes);
			request.moduleData.push_back(std::move(data));
		}
	} catch (const std::exception& failure) {
		problem = std::string("the export's request cannot be read: ") + failure.what();
		return std::nullopt;
	}
	return request;
}

int Export(const std::string& file)
{
	std::string problem;
	std::optional<ExportRequest> request = ReadExportRequest(std::cin, problem);
	if (!request)
		return Refuse(problem);
	std::optional<std::string> read = IfcReading::ReadIfcFileText(file, problem);
	if (!read)
		return Refuse(problem);
	const IfcReading::StepCheck check = IfcReading::CheckStepText(*read);
	if (!check.ok)
		return Refuse(check.problem);
	std::vector<std::int32_t> boxed;
	for (const auto& [entity, level] : request->levels)
		if (level == IfcReading::DetailLevel::Simple)
			boxed.push_back(entity);
	return Guarded("export", [&] {
		const IfcReading::BuildingRecord building = IfcReading::ConvertIfcText(*read, ProgressLines(), boxed);
		std::vector<IfcReading::PartLightening> parts;
		int simple = 0, off = 0;
		for (const IfcReading::PartRecord& part : building.parts) {
			auto level = request->levels.find(part.entity);
			if (level == request->levels.end() || level->second == IfcReading::DetailLevel::Detailed)
				continue;
			parts.push_back(part.place);
			parts.back().level = level->second;
			++(level->second == IfcReading::DetailLevel::Simple ? simple : off);
		}
		std::optional<std::string> lighter =
			IfcReading::LighterIfcText(*read, parts, request->moduleData, request->names, problem);
		if (!lighter)
			return Refuse(problem);
		rusage usage {};
		getrusage(RUSAGE_SELF, &usage);
		std::cout << nlohmann::json({{"simple", simple}, {"off", off}, {"bytes", lighter->size()},
									   {"peakMemoryBytes", usage.ru_maxrss * 1024L}})
						 .dump()
				  << '\n'
				  << *lighter;
		std::cout.flush();
		return std::cout ? 0 : 2;
	});
}

} // namespace

int main(int argc, char** argv)
{
	if (argc == 3 && std::string(argv[1]) == "--export")
		return Export(argv[2]);
	if (argc != 2) {
		std::cerr << "usage: facetally-ifc-reader FILE.ifc | facetally-ifc-reader --export FILE.ifc < REQUEST\n";
		return 2;
	}
	std::string problem;
	std::optional<std::string> read = IfcReading::ReadIfcFileText(argv[1], problem);
	if (!read)
		return Refuse(problem);
	std::string text = std::move(*read);

	const IfcReading::StepCheck check = IfcReading::CheckStepText(text);
	if (!check.ok)
		return Refuse(check.problem);
	return Guarded("convert", [&] {
		IfcReading::BuildingRecord building = IfcReading::ConvertIfcText(std::move(text), ProgressLines());
		building.schema = check.schema;
		const std::string geometry = IfcReading::GeometryBlock(building);
		const std::string envelope = IfcReading::EnvelopeText(building, geometry.size());
		rusage usage {};
		getrusage(RUSAGE_SELF, &usage);
		// The conversion's peak memory and processor time, for the benchmark, after the summary
		// line's other fields.
		const std::size_t firstLine = envelope.find('\n');
		const double cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
			static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
		std::cout << envelope.substr(0, firstLine - 1) << ",\"peakMemoryBytes\":" << usage.ru_maxrss * 1024L
				  << ",\"cpuSeconds\":" << cpuSeconds << '}' << envelope.substr(firstLine) << geometry;
		std::cout.flush();
		return std::cout ? 0 : 2;
	});
}

// facetally-ifc-reader FILE: the host's converter of IFC files (.ifc, or .ifczip holding one). It reads the file, converts it
// and writes the building, as the host's project model, to standard output; on standard
// error it reports "progress DONE TOTAL" lines while it converts, and "refused WHY" when the
// file cannot be read (exit 1). The host runs it as a process of its own, so the IFC
// library's faults and leaks never reach the person's open project and a stop is immediate.
#include "IfcConversion.hpp"
#include "IfcFileText.hpp"
#include "IfcProjectBuilder.hpp"
#include "StepCheck.hpp"

#include <sys/resource.h>

#include <iostream>
#include <optional>

namespace {

int Refuse(const std::string& why)
{
	std::cerr << "refused " << why << '\n';
	return 1;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc != 2) {
		std::cerr << "usage: facetally-ifc-reader FILE.ifc\n";
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
	try {
		std::size_t reported = 0;
		IfcReading::BuildingRecord building =
			IfcReading::ConvertIfcText(std::move(text), [&reported](std::size_t done, std::size_t total) {
				// About a hundred steps, whatever the size.
				if (done == total || done * 100 / total != reported * 100 / total) {
					std::cerr << "progress " << done << ' ' << total << '\n';
					reported = done;
				}
			});
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
	} catch (const IfcReading::IfcRefusal& refusal) {
		return Refuse(refusal.what());
	} catch (const std::bad_alloc&) {
		return Refuse("not enough memory to convert it");
	} catch (const std::exception& failure) {
		return Refuse(std::string("the IFC library failed: ") + failure.what());
	}
}

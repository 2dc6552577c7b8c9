// Opening IFC files: the duplex, and buildings of 5 and 20 copies of it in one file (the
// copies share its storeys; BuildingCopies). Each iteration is one opening as the host does
// it: the converter process reads, converts and hands over the project, the host reads it.
// Wall-clock time, since the work is another process's.
//
// Counters: elements and polygons read, peak_MiB (the converter's peak memory),
// converter_cpu_s (its processor time: the wall clock stretches on a busy machine), and
// MiB_per_copy, ms_per_copy: the goal is that both stay flat as copies grow (no quadratic
// lookup; each type's map converted once however often it is placed).
#include "BuildingCopies.hpp"
#include "ElementTypeTable.hpp"
#include "IfcExportFile.hpp"
#include "IfcProjectFile.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

std::filesystem::path BuildingFile(int copies)
{
	const std::filesystem::path file =
		std::filesystem::path(FACETALLY_BINARY_DIR) / "bench-ifc" / ("duplex-x" + std::to_string(copies) + ".ifc");
	std::ifstream in(std::filesystem::path(FACETALLY_SOURCE_DIR) / "examples" / "duplex.ifc", std::ios::binary);
	const std::string duplex(std::istreambuf_iterator<char>(in), {});
	std::filesystem::create_directories(file.parent_path());
	std::ofstream(file, std::ios::binary) << IfcReading::RepeatBuilding(duplex, copies);
	return file;
}

// The building's triangles as each element shows them "Detailed", without sharing: 36 bytes each.
std::size_t RawTriangleBytes(const ReferenceHost::ModelGeometry& geometry)
{
	std::size_t triangles = 0;
	for (const ReferenceHost::GeometryInstance& instance : geometry.instances)
		triangles += geometry.meshes.TriangleCount(geometry.MeshAt(instance, "Detailed"));
	return triangles * 3 * 3 * sizeof(float);
}

void OpenIfc(benchmark::State& state)
{
	const int copies = static_cast<int>(state.range(0));
	const std::filesystem::path file = BuildingFile(copies);
	ReferenceHost::IfcReadSummary summary;
	std::size_t elements = 0;
	std::int64_t polygons = 0;
	double seconds = 0;
	double converterSeconds = 0;
	std::size_t geometryBytes = 0;
	std::size_t rawBytes = 0;
	for (auto _ : state) {
		const auto start = std::chrono::steady_clock::now();
		std::string problem;
		const auto project = ReferenceHost::ReadIfcProjectFile(
			std::filesystem::path(FACETALLY_BINARY_DIR) / "bin" / ReferenceHost::IfcReaderProgramName, file, {},
			summary, problem);
		if (project == nullptr)
			throw std::runtime_error(problem);
		elements = project->TotalElementCount();
		polygons = project->TotalPolygons();
		if (const ReferenceHost::ModelGeometry* geometry = project->Geometry()) {
			geometryBytes = geometry->MemoryBytes();
			rawBytes = RawTriangleBytes(*geometry);
		}
		seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
		converterSeconds += summary.cpuSeconds;
	}
	const double peakMiB = static_cast<double>(summary.peakMemoryBytes) / (1024.0 * 1024.0);
	state.counters["elements"] = static_cast<double>(elements);
	state.counters["polygons"] = static_cast<double>(polygons);
	state.counters["peak_MiB"] = peakMiB;
	state.counters["MiB_per_copy"] = peakMiB / copies;
	const auto runs = static_cast<double>(state.iterations());
	state.counters["ms_per_copy"] = 1e3 * seconds / runs / copies;
	// The converter's processor time: what the opening costs on an idle machine.
	state.counters["converter_cpu_s"] = converterSeconds / runs;
	// The geometry the host keeps against every shown triangle as three float corners.
	state.counters["geometry_MiB"] = static_cast<double>(geometryBytes) / (1024.0 * 1024.0);
	state.counters["raw_triangles_MiB"] = static_cast<double>(rawBytes) / (1024.0 * 1024.0);
	state.counters["geometry_per_raw"] = rawBytes > 0 ? static_cast<double>(geometryBytes) / static_cast<double>(rawBytes) : 0;
}

// Exporting the building with every library part a box, as a modeller lightening all of it:
// the converter reads the source again, boxes every part's body and edits the text; the host
// writes the file. Counters: peak_MiB (the converter's), ms_per_copy, and the file's size
// against the source's.
void ExportIfc(benchmark::State& state)
{
	const int copies = static_cast<int>(state.range(0));
	const std::filesystem::path file = BuildingFile(copies);
	const std::filesystem::path reader = std::filesystem::path(FACETALLY_BINARY_DIR) / "bin" / ReferenceHost::IfcReaderProgramName;
	ReferenceHost::IfcReadSummary read;
	std::string problem;
	const auto project = ReferenceHost::ReadIfcProjectFile(reader, file, {}, read, problem);
	if (project == nullptr)
		throw std::runtime_error(problem);
	for (std::int32_t type = 0; type < ReferenceHost::ElementTypeCount; ++type)
		for (const ReferenceHost::Element& element : project->ElementsOf(type))
			if (element.libPartIndex > 0 && !project->SetElementParameter(element.Id(), "detail3D", "Simple", problem))
				throw std::runtime_error(problem);
	const std::filesystem::path target = file.parent_path() / ("light-x" + std::to_string(copies) + ".ifc");
	ReferenceHost::IfcExportSummary summary;
	double seconds = 0;
	for (auto _ : state) {
		const auto start = std::chrono::steady_clock::now();
		if (!ReferenceHost::ExportLighterIfcFile(reader, *project, file, target, {}, summary, problem))
			throw std::runtime_error(problem);
		seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
	}
	const double peakMiB = static_cast<double>(summary.peakMemoryBytes) / (1024.0 * 1024.0);
	state.counters["parts_boxed"] = summary.simple;
	state.counters["peak_MiB"] = peakMiB;
	state.counters["ms_per_copy"] = 1e3 * seconds / static_cast<double>(state.iterations()) / copies;
	state.counters["size_of_source"] =
		static_cast<double>(summary.bytes) / static_cast<double>(std::filesystem::file_size(file));
}

} // namespace

BENCHMARK(OpenIfc)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(ExportIfc)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

BENCHMARK_MAIN();

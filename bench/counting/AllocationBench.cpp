// The module's heap allocations per counting run, over generated projects of two sizes with
// the same library parts. Once every part has been met, counting an element, testing its
// group and lock, reading its level-of-detail parameter and rewriting it should allocate
// nothing, so both sizes should show the same figures.
//
// Counters: small_* and large_* (the module's allocations in a run over the small and the
// large project), *_per_element (large minus small over the elements between them; 0 is the
// goal) and host_per_element (the host's own, which does grow: it copies parameter lists, and
// shows the counter tells the two apart). "changing" is the first run, which brings every
// element to "Detailed"; "reading" is a later run, which only reads every element's level.
// The iterations time the reading run over the large project, with the counter on.
#include "AllocationCounter.hpp"

#include "BenchHost.hpp"
#include "Host.hpp"

#include "HostSdk/HostFunctions.hpp"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

// Both sizes give every count of the report as many digits: the platform's number
// formatting allocates by a number's digits, once per report line.
constexpr std::size_t SmallProject = 100'000;
constexpr std::size_t LargeProject = 120'000;

// A host with the module and a generated project open. Only one host may exist at a time.
class AllocationSession {
public:
	explicit AllocationSession(std::size_t elements)
		: settings(Bench::CountingProjectSettings(elements)),
		  folder("bench-allocations", ReferenceHost::GeneratedDetailLevelLine(settings))
	{
		host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {folder.AddOns(), folder.Help()});
		addOn = host->LoadAddOn(folder.Module());
		if (addOn == nullptr)
			throw std::runtime_error("the module did not load");
		module = addOn->Symbol(HostSdk::GetExportedFuncAddrsName);
		std::unique_ptr<ReferenceHost::Project> project = ReferenceHost::GenerateProject(settings);
		project->StoreModuleData(addOn->Name(), Bench::EveryPartDetailed(*project));
		if (!host->OpenProject(std::move(project)).ok)
			throw std::runtime_error("the project did not open");
	}

	// The allocations of the menu command that opens the palette and counts; the palette is
	// closed again uncounted.
	AllocationCounter::Counts Run()
	{
		host->Report().Clear();
		AllocationCounter::Start(module);
		const bool opened = host->ChooseMenuItem("Facetally").ok;
		const AllocationCounter::Counts counts = AllocationCounter::Stop();
		if (!opened || !host->ChooseMenuItem("Facetally").ok || host->Report().Lines().empty())
			throw std::runtime_error("the run did not finish");
		return counts;
	}

private:
	const ReferenceHost::ProjectGeneratorSettings settings;
	Bench::AddOnFolder folder;
	std::unique_ptr<ReferenceHost::Host> host;
	ReferenceHost::AddOn* addOn = nullptr;
	const void* module = nullptr;
};

struct RunAllocations {
	AllocationCounter::Counts changing;
	AllocationCounter::Counts reading;
};

RunAllocations Measure(AllocationSession& session)
{
	RunAllocations runs;
	runs.changing = session.Run();
	runs.reading = session.Run();
	return runs;
}

void ModuleAllocations(benchmark::State& state)
{
	RunAllocations small;
	RunAllocations large;
	std::unique_ptr<AllocationSession> session;
	try {
		// The module's buffers grow to their working size in the first project.
		session = std::make_unique<AllocationSession>(SmallProject);
		small = Measure(*session);
		session = nullptr;
		session = std::make_unique<AllocationSession>(LargeProject);
		large = Measure(*session);
	} catch (const std::exception& problem) {
		state.SkipWithError(problem.what());
		return;
	}
	for (auto _ : state) {
		const AllocationCounter::Counts reading = session->Run();
		if (reading.module != large.reading.module)
			state.SkipWithError("the reading runs over one project allocate differently");
	}
	const auto perElement = [](std::size_t smallCount, std::size_t largeCount) {
		return (static_cast<double>(largeCount) - static_cast<double>(smallCount)) /
			static_cast<double>(LargeProject - SmallProject);
	};
	state.counters["small_changing"] = static_cast<double>(small.changing.module);
	state.counters["large_changing"] = static_cast<double>(large.changing.module);
	state.counters["changing_per_element"] = perElement(small.changing.module, large.changing.module);
	state.counters["small_reading"] = static_cast<double>(small.reading.module);
	state.counters["large_reading"] = static_cast<double>(large.reading.module);
	state.counters["reading_per_element"] = perElement(small.reading.module, large.reading.module);
	state.counters["host_per_element"] = perElement(small.changing.program, large.changing.program);
}

BENCHMARK(ModuleAllocations)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();

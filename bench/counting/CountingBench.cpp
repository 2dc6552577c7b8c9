// Counting runs of the real module in the reference host, over generated projects of 10 000,
// 100 000 and 1 000 000 elements (20 library parts, 8 components each, 5 stories). Each
// iteration chooses the module's menu command, which opens the palette and counts the whole
// project (timed), and closes it again (not timed); then it makes the same host calls
// without the module (HostCallFloor, timed apart). Two scenarios: no level of detail chosen
// ("custom": the parts are only detected), and "Detailed" wanted for every part ("levels": the
// level-of-detail parameter of every placed element is read at each run).
//
// Times are the processor time of the benchmark's thread (the "Time" column too). Counters:
// elements_per_s (elements the run visits per second), floor_elements_per_s, overhead_pct (the
// run's time over the floor's, in percent) and ns_per_element.
#include "HostCallFloor.hpp"

#include "BenchHost.hpp"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A host with the module, its configuration file naming the generated parts' parameter, and
// a generated project open. Only one host may exist at a time.
class CountingSession {
public:
	CountingSession(std::size_t elements, bool levelsWanted)
		: settings(Bench::CountingProjectSettings(elements)),
		  folder("bench-counting", ReferenceHost::GeneratedDetailLevelLine(settings)), scenario {levelsWanted}
	{
		host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {folder.AddOns(), folder.Help()});
		addOn = host->LoadAddOn(folder.Module());
		if (addOn == nullptr)
			throw std::runtime_error("the module did not load");
		std::unique_ptr<ReferenceHost::Project> project = ReferenceHost::GenerateProject(settings);
		if (levelsWanted)
			project->StoreModuleData(addOn->Name(), Bench::EveryPartDetailed(*project));
		if (!host->OpenProject(std::move(project)).ok)
			throw std::runtime_error("the project did not open");
		// The first run brings every element to its wanted level; the runs timed are the
		// ones a person makes again and again.
		Run();
		CheckTheFloorMakesTheRunsCalls();
	}

	// Processor seconds of the menu command that opens the palette and counts.
	double Run()
	{
		host->Report().Clear();
		host->SessionTranscript().Clear();
		const double start = Bench::ThreadSeconds();
		const bool opened = host->ChooseMenuItem("Facetally").ok;
		const double end = Bench::ThreadSeconds();
		if (!opened || !host->ChooseMenuItem("Facetally").ok || host->Report().Lines().size() < 17)
			throw std::runtime_error("the run did not finish");
		return end - start;
	}

	double Floor()
	{
		const double start = Bench::ThreadSeconds();
		visited = RunHostCallFloor(*host, *addOn, scenario);
		return Bench::ThreadSeconds() - start;
	}

	std::size_t Visited() const { return visited; }

private:
	// The floor is only a floor if it asks the host what the run asks: the element, 3D,
	// library-part and parameter calls of one run and of one floor must match in number.
	void CheckTheFloorMakesTheRunsCalls()
	{
		namespace Entry = HostSdk::Entry;
		namespace Selectors = HostSdk::Selectors;
		ReferenceHost::HostFunctionTable& table = host->Table();
		const auto counts = [&table] {
			std::vector<std::uint64_t> numbers;
			for (const int entry :
				{Entry::ElementCount, Entry::ElementFilter, Entry::ElementRead, Entry::ElementMemoRead,
					Entry::Element3DInfo, Entry::Component3DRead, Entry::LibPartRead, Entry::ElementChange})
				numbers.push_back(table.CallCount(entry));
			for (const std::uint32_t selector : {Selectors::OpenParameters, Selectors::GetParameters,
					 Selectors::CloseParameters, Selectors::GetParameterValues})
				numbers.push_back(table.SelectorCallCount(Entry::Utilities, selector));
			return numbers;
		};
		const auto difference = [](const std::vector<std::uint64_t>& after, const std::vector<std::uint64_t>& before) {
			std::vector<std::uint64_t> made(after.size());
			for (std::size_t i = 0; i < after.size(); ++i)
				made[i] = after[i] - before[i];
			return made;
		};
		const std::vector<std::uint64_t> start = counts();
		Run();
		const std::vector<std::uint64_t> afterRun = counts();
		Floor();
		const std::vector<std::uint64_t> afterFloor = counts();
		const std::vector<std::uint64_t> byRun = difference(afterRun, start);
		const std::vector<std::uint64_t> byFloor = difference(afterFloor, afterRun);
		if (byRun != byFloor) {
			std::string numbers;
			for (std::size_t i = 0; i < byRun.size(); ++i)
				numbers += " " + std::to_string(byRun[i]) + "/" + std::to_string(byFloor[i]);
			throw std::runtime_error(
				"the floor does not make the host calls the run makes (run/floor:" + numbers + ")");
		}
	}

	const ReferenceHost::ProjectGeneratorSettings settings;
	Bench::AddOnFolder folder;
	FloorScenario scenario;
	std::unique_ptr<ReferenceHost::Host> host;
	ReferenceHost::AddOn* addOn = nullptr;
	std::size_t visited = 0;
};

void CountingRun(benchmark::State& state)
{
	const auto elements = static_cast<std::size_t>(state.range(0));
	const bool levelsWanted = state.range(1) != 0;
	std::unique_ptr<CountingSession> made;
	try {
		made = std::make_unique<CountingSession>(elements, levelsWanted);
	} catch (const std::exception& problem) {
		state.SkipWithError(problem.what());
		return;
	}
	CountingSession& session = *made;
	double runSeconds = 0;
	double floorSeconds = 0;
	for (auto _ : state) {
		const double run = session.Run();
		floorSeconds += session.Floor();
		runSeconds += run;
		state.SetIterationTime(run);
	}
	const double iterations = static_cast<double>(state.iterations());
	const double visited = static_cast<double>(session.Visited());
	state.counters["elements_per_s"] = visited * iterations / runSeconds;
	state.counters["floor_elements_per_s"] = visited * iterations / floorSeconds;
	state.counters["overhead_pct"] = (runSeconds / floorSeconds - 1.0) * 100.0;
	state.counters["ns_per_element"] = runSeconds / iterations / visited * 1e9;
	state.SetLabel(levelsWanted ? "levels" : "custom");
}

BENCHMARK(CountingRun)
	->ArgNames({"elements", "levels"})
	->Args({10'000, 0})
	->Args({100'000, 0})
	->Args({1'000'000, 0})
	->Args({10'000, 1})
	->Args({100'000, 1})
	->Args({1'000'000, 1})
	->UseManualTime()
	->Unit(benchmark::kMillisecond)
	->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();

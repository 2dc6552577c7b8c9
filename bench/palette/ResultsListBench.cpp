// The results list of the real module in the reference host, on generated projects whose
// only placed elements are windows, each of its own library part (10 000 and 100 000 rows
// under Window). Everything goes through the dialog library's user layer, as a person's
// clicks do:
//   Count     the Refresh button with Window folded: the counting run and a list of 12 rows;
//   Fill      the Refresh button with Window unfolded: the same run, and all rows listed;
//   Unfold    a click on Window's folded triangle;
//   Fold      a click on Window's unfolded triangle;
//   Layout    the palette resized, with every row listed.
// Times are the processor time of the benchmark's thread. Counters: ns_per_row, and
// pct_of_count, the operation's time over the Count of the same project in percent (for
// Fill, the part beyond the run: each Fill less a Count pressed just before it).
#include "BenchHost.hpp"
#include "Host.hpp"
#include "PaletteHands.hpp"
#include "ProjectGenerator.hpp"

#include "DG/ListBox.hpp"
#include "DG/User.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

ReferenceHost::ProjectGeneratorSettings Levels()
{
	return ReferenceHost::ProjectGeneratorSettings {};
}

// n windows, each placed from a part of its own with a level-of-detail parameter.
std::unique_ptr<ReferenceHost::Project> WindowsProject(std::size_t n)
{
	const ReferenceHost::ProjectGeneratorSettings settings = Levels();
	auto project = std::make_unique<ReferenceHost::Project>();
	for (std::size_t i = 0; i < n; ++i) {
		ReferenceHost::LibraryPart part;
		part.index = static_cast<std::int32_t>(i + 1);
		part.typeId = 4;
		part.name = "Window " + std::to_string(i + 1);
		char uniqueId[96];
		std::snprintf(uniqueId, sizeof uniqueId,
			"{0000BE7C-0000-4000-8000-%012zX}-{00000000-0000-0000-0000-000000000000}", i + 1);
		part.uniqueId = uniqueId;
		ReferenceHost::Parameter level;
		level.name = settings.levelParameter;
		level.text = settings.detailedValue;
		level.valueList = {settings.detailedValue, settings.simpleValue, settings.offValue};
		part.parameters.push_back(level);
		part.modelParameter = level.name;
		// Polygon counts that repeat, so the row order also compares identifiers.
		const auto polygons = static_cast<std::int32_t>(1 + i % 997);
		part.models[settings.detailedValue] = {polygons, 4};
		part.models[settings.simpleValue] = {polygons};
		part.models[settings.offValue] = {};
		part.model = part.models[settings.detailedValue];
		project->AddLibraryPart(part);
	}
	for (std::size_t i = 0; i < n; ++i) {
		ReferenceHost::Element element;
		element.type = 4;
		element.libPartIndex = static_cast<std::int32_t>(i + 1);
		element.parameters = project->LibraryParts()[i].parameters;
		project->AddElement(std::move(element));
	}
	return project;
}

// A host with the module and the project, the palette open on the entire project, and the
// person's hands on its list, triangle and Refresh button. One host at a time.
class ListSession {
public:
	explicit ListSession(std::size_t rows)
		: rowCount(rows), folder("bench-results-list", ReferenceHost::GeneratedDetailLevelLine(Levels()))
	{
		host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {folder.AddOns(), folder.Help()});
		if (host->LoadAddOns() != 1 || !host->OpenProject(WindowsProject(rows)).ok ||
			!host->ChooseMenuItem("Facetally").ok)
			throw std::runtime_error("the palette did not open on the project");
		palette = ReferenceHost::FindOpenPalette(*host);
		std::string problem;
		const auto entire =
			ReferenceHost::FindPaletteItem(*palette, "Entire project", 0, {DG::ItemKind::RadioButton}, problem);
		const auto refresh = ReferenceHost::FindPaletteItem(*palette, "Refresh", 0, {DG::ItemKind::Button}, problem);
		const auto list = ReferenceHost::FindPaletteItem(*palette, "list#1", 0, {DG::ItemKind::MultiSelList}, problem);
		if (!entire || !refresh || !list)
			throw std::runtime_error(problem);
		DG::User(*entire->page.panel).Click(entire->index);
		refreshPage = refresh->page.panel;
		refreshButton = refresh->index;
		listPage = list->page.panel;
		listItem = list->index;
		Refresh();
		if (Rows() != 12)
			throw std::runtime_error("the list does not show the twelve types");
	}

	std::size_t RowCount() const { return rowCount; }
	int Rows() const { return DG::MultiSelListBox(*listPage, listItem).GetItemCount(); }
	bool Unfolded() const { return Rows() > 12; }

	double Refresh()
	{
		host->Report().Clear();
		host->SessionTranscript().Clear();
		const double start = Bench::ThreadSeconds();
		const bool done = DG::User(*refreshPage).Click(refreshButton).IsDone();
		const double seconds = Bench::ThreadSeconds() - start;
		if (!done)
			throw std::runtime_error("Refresh could not be pressed");
		return seconds;
	}

	// A click on Window's triangle (row 4).
	double ClickTriangle()
	{
		const double start = Bench::ThreadSeconds();
		const bool done = DG::User(*listPage).ClickListItem(listItem, 4, 8).IsDone();
		const double seconds = Bench::ThreadSeconds() - start;
		if (!done)
			throw std::runtime_error("the triangle could not be clicked");
		return seconds;
	}

	double Resize(short width)
	{
		const double start = Bench::ThreadSeconds();
		const bool done = DG::User(*palette).Resize(width, 417).IsDone();
		const double seconds = Bench::ThreadSeconds() - start;
		if (!done)
			throw std::runtime_error("the palette could not be resized");
		return seconds;
	}

	// The counting run's time on this project: the median of a few Refresh presses with
	// Window folded.
	double CountSeconds()
	{
		if (countSeconds > 0)
			return countSeconds;
		if (Unfolded())
			ClickTriangle();
		std::vector<double> runs;
		for (int i = 0; i < 5; ++i)
			runs.push_back(Refresh());
		std::sort(runs.begin(), runs.end());
		countSeconds = runs[runs.size() / 2];
		return countSeconds;
	}

private:
	std::size_t rowCount;
	Bench::AddOnFolder folder;
	std::unique_ptr<ReferenceHost::Host> host;
	DG::Dialog* palette = nullptr;
	DG::Panel* refreshPage = nullptr;
	short refreshButton = 0;
	DG::Panel* listPage = nullptr;
	short listItem = 0;
	double countSeconds = 0;
};

std::unique_ptr<ListSession> session;

ListSession& SessionFor(std::size_t rows)
{
	if (!session || session->RowCount() != rows) {
		session.reset();
		session = std::make_unique<ListSession>(rows);
	}
	return *session;
}

enum class Operation { Count, Fill, Unfold, Fold, Layout };

void ListOperation(benchmark::State& state, Operation operation)
{
	const auto rows = static_cast<std::size_t>(state.range(0));
	ListSession* made = nullptr;
	try {
		made = &SessionFor(rows);
	} catch (const std::exception& problem) {
		state.SkipWithError(problem.what());
		return;
	}
	ListSession& list = *made;
	const double count = list.CountSeconds();
	double total = 0;
	double pairedCount = 0;
	short width = 460;
	for (auto _ : state) {
		double seconds = 0;
		switch (operation) {
		case Operation::Count:
			if (list.Unfolded())
				list.ClickTriangle();
			seconds = list.Refresh();
			break;
		case Operation::Fill:
			// Each with a counting run of its own just before, so both see the same machine.
			if (list.Unfolded())
				list.ClickTriangle();
			pairedCount += list.Refresh();
			list.ClickTriangle();
			seconds = list.Refresh();
			break;
		case Operation::Unfold:
			if (list.Unfolded())
				list.ClickTriangle();
			seconds = list.ClickTriangle();
			break;
		case Operation::Fold:
			if (!list.Unfolded())
				list.ClickTriangle();
			seconds = list.ClickTriangle();
			break;
		case Operation::Layout:
			if (!list.Unfolded())
				list.ClickTriangle();
			width = width == 460 ? 300 : 460;
			seconds = list.Resize(width);
			break;
		}
		total += seconds;
		state.SetIterationTime(seconds);
	}
	const auto iterations = static_cast<double>(state.iterations());
	const double mean = total / iterations;
	const double countOfThisRun = operation == Operation::Fill ? pairedCount / iterations : count;
	const double listWork = operation == Operation::Fill ? mean - countOfThisRun : mean;
	state.counters["ns_per_row"] = listWork / static_cast<double>(rows) * 1e9;
	state.counters["pct_of_count"] = listWork / countOfThisRun * 100.0;
	state.counters["count_ms"] = count * 1e3;
}

} // namespace

int main(int argc, char** argv)
{
	const std::pair<const char*, Operation> operations[] = {{"Count", Operation::Count}, {"Fill", Operation::Fill},
		{"Unfold", Operation::Unfold}, {"Fold", Operation::Fold}, {"Layout", Operation::Layout}};
	// One project at a time: every operation on it before the next one is made.
	for (const std::int64_t rows : {10'000, 100'000})
		for (const auto& [name, operation] : operations)
			benchmark::RegisterBenchmark(name, ListOperation, operation)
				->Arg(rows)
				->ArgName("rows")
				->UseManualTime()
				->Unit(benchmark::kMillisecond)
				->MinTime(1.0);
	benchmark::Initialize(&argc, argv);
	benchmark::RunSpecifiedBenchmarks();
	benchmark::Shutdown();
	session.reset();
	return 0;
}

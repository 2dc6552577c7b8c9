// The counting run end to end, through the host and the loaded module: what is visited (the
// whole project, the selection, a marquee, a story range), the report's exact lines, and a
// run the person stops in the progress window. The sample project's tests see the rows.
#include "CountingFixture.hpp"

#include "VX/Timer.hpp"

#include <algorithm>
#include <chrono>

namespace {

using namespace TestProjects;
using ReferenceHost::ElementId;
using ReferenceHost::Project;
namespace Types = HostSdk::ElementTypes;

// The element filter tests (bits 2) of a run: the elements it visited, in order.
std::vector<ElementId> Visited(const std::vector<ProbeCall>& calls)
{
	std::vector<ElementId> visited;
	for (const ProbeCall& call : calls)
		if (call.entry == HostSdk::Entry::ElementFilter && call.bits == HostSdk::FilterVisible)
			visited.push_back({call.type, call.index});
	return visited;
}

// The report line of a library part or a type, as the report lays it out.
std::string CountLine(const std::string& name, const std::string& count, const std::string& polygons)
{
	std::string line = name;
	line.resize(std::max<std::size_t>(line.size(), 30), ' ');
	line += " (";
	line.resize(std::max(line.size(), 40 - count.size()), ' ');
	line += count + ") : ";
	line.resize(std::max(line.size(), 60 - polygons.size()), ' ');
	return line + polygons;
}

// ---- What a run writes --------------------------------------------------------------------

class CountReportTest : public CountingFixture {};

TEST_F(CountReportTest, AnEmptyProjectWritesTheTotalTheHeaderAndTwelveTypeLines)
{
	LoadProbe();
	OpenProject(Project());
	OpenPalette();
	const std::vector<std::string> expected = {
		"",
		"Total polygons: 0",
		"       Name                   Total objects       Total polygons",
		"",
		"    Wall                       (       0) :                0",
		"    Column                     (       0) :                0",
		"    Beam                       (       0) :                0",
		"    Window                     (       0) :                0",
		"    Door                       (       0) :                0",
		"    Object                     (       0) :                0",
		"    Lamp                       (       0) :                0",
		"    Slab                       (       0) :                0",
		"    Roof                       (       0) :                0",
		"    Mesh                       (       0) :                0",
		"    Zone                       (       0) :                0",
		"    Stair                      (       0) :                0",
		"",
	};
	EXPECT_EQ(Report(), expected);
	EXPECT_EQ(HandlesLeft(), 0);
}

TEST_F(CountReportTest, APercentSignInAPartsNameReachesTheReportUnchanged)
{
	OpenOneObject("100% Wool %s %d %n", {12});
	OpenPalette();
	const std::vector<std::string>& report = Report();
	EXPECT_NE(std::find(report.begin(), report.end(), CountLine("100% Wool %s %d %n", "1", "12")), report.end());
}

TEST_F(CountReportTest, ElementsTheHostFiltersOutOrCannotReadCountNowhere)
{
	LoadProbe();
	Project project;
	project.AddElement(Plain(Types::Wall, {1}));
	auto hidden = Plain(Types::Wall, {10});
	hidden.visible = false;
	project.AddElement(hidden);
	auto deleted = Plain(Types::Wall, {100});
	deleted.deleted = true;
	project.AddElement(deleted);
	project.AddElement(Plain(Types::Wall, {}));
	OpenProject(project);
	OpenPalette();
	const ProbeResult result = Result();
	EXPECT_EQ(result.elementsPerType[Types::Wall], 2) << "the element without components still counts";
	EXPECT_EQ(result.polygonsPerType[Types::Wall], 1);
	EXPECT_EQ(result.totalPolygons, 1);
}

TEST_F(CountReportTest, ANewRunReplacesTheResultAndTheDataRecordIsHandedBack)
{
	LoadProbe();
	Project project;
	project.AddElement(Plain(Types::Slab, {5, 5}));
	OpenProject(project);
	host->CurrentProject()->DataRecordBytes()[100] = 0x5A;
	OpenPalette();
	EXPECT_EQ(Result().totalPolygons, 10);
	host->CurrentProject()->AddElement(Plain(Types::Slab, {1}));
	Refresh();
	EXPECT_EQ(Result().totalPolygons, 11);
	EXPECT_EQ(Report()[1], "Total polygons: 11");
	// The run set the record's mode for its span only.
	EXPECT_EQ(host->CurrentProject()->DataRecordMode(), 0);
	EXPECT_EQ(host->CurrentProject()->DataRecordBytes()[100], 0x5A);
	EXPECT_EQ(HandlesLeft(), 0);
}

// ---- What a run visits ----------------------------------------------------------------------

class ElementSelectionTest : public CountingFixture {
protected:
	// Walls 1 to 5 (polygons 1, 10, 100, ...), doors 1 to 3 of one part, two texts, a zone,
	// an element of type 0 and a group.
	Project Building()
	{
		Project project;
		std::int32_t polygons = 1;
		for (int wall = 0; wall < 5; ++wall, polygons *= 10)
			project.AddElement(Plain(Types::Wall, {polygons}));
		const auto door = project.AddLibraryPart(PlainPart(1, "Door", 5, {3}));
		for (int i = 0; i < 3; ++i)
			project.AddElement(Placed(Types::Door, door));
		project.AddElement(Plain(Types::Text, {2}));
		project.AddElement(Plain(Types::Text, {4}));
		project.AddElement(Plain(Types::Zone, {8}));
		project.AddElement(Plain(Types::Zombie, {16}));
		project.AddElement(Plain(Types::Group, {32}));
		return project;
	}
};

TEST_F(ElementSelectionTest, SelectionOnlyWithNothingSelectedCountsTheCountedTypesOfTheWholeProject)
{
	LoadProbe();
	OpenProject(Building());
	OpenPalette();
	probe->startLog();
	Refresh(ProbeSettings {true, true, 0, 0, 3});
	const std::vector<ElementId> visited = Visited(probe->stopLog());

	const std::vector<ElementId> expected = {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {5, 1}, {5, 2}, {5, 3}, {17, 1}};
	EXPECT_EQ(visited, expected) << "types 1 to 10 and 17 only, by type and index";
	const ProbeResult result = Result();
	EXPECT_EQ(result.totalPolygons, 11111 + 9 + 8);
	EXPECT_EQ(result.elementsPerType[Types::Zombie], 0);
	EXPECT_EQ(result.elementsPerType[Types::Group], 0);
	EXPECT_EQ(result.elementsPerType[Types::Text], 0);
}

TEST_F(ElementSelectionTest, ASelectionVisitsExactlyItsElementsOnceEachInTypeAndIndexOrder)
{
	LoadProbe();
	OpenProject(Building());
	// Door 2 selected twice: a project file cannot hold that, a host's selection can.
	host->CurrentProject()->CurrentSelection().kind = 1;
	host->CurrentProject()->CurrentSelection().items = {
		{Types::Door, 2}, {Types::Wall, 4}, {Types::Text, 1}, {Types::Wall, 1}, {Types::Door, 2}, {Types::Group, 1}};
	OpenPalette();
	probe->startLog();
	Refresh(ProbeSettings {true, true, 0, 0, 3});
	const std::vector<ElementId> visited = Visited(probe->stopLog());

	const std::vector<ElementId> expected = {{1, 1}, {1, 4}, {5, 2}, {15, 1}, {28, 1}};
	EXPECT_EQ(visited, expected);
	const ProbeResult result = Result();
	EXPECT_EQ(result.polygonsPerType[Types::Wall], 1001) << "walls 1 and 4, each once";
	EXPECT_EQ(result.elementsPerType[Types::Door], 1);
	EXPECT_EQ(result.elementsPerType[Types::Text], 1) << "any selected type counts";
	EXPECT_EQ(result.elementsPerType[Types::Group], 1);
	EXPECT_EQ(result.totalPolygons, 1001 + 3 + 2 + 32);
}

class StoryChoiceTest : public CountingFixture {
protected:
	// One wall per story from -1 to 3; the wall of story s has 10^(s+1) polygons.
	Project FiveStories(bool noStoryZero)
	{
		Project project;
		project.StoryList().first = -1;
		project.StoryList().last = 3;
		project.StoryList().active = 1;
		project.StoryList().noStoryZero = noStoryZero;
		std::int32_t polygons = 1;
		for (std::int16_t story = -1; story <= 3; ++story, polygons *= 10)
			project.AddElement(Plain(Types::Wall, {polygons}, story));
		return project;
	}
};

TEST_F(StoryChoiceTest, AllStoriesTakesEveryStoryAndTheStartingSettingsAreAllStories)
{
	LoadProbe();
	OpenProject(FiveStories(true));
	OpenPalette();
	EXPECT_EQ(Result().totalPolygons, 11111);
	ProbeSettings settings;
	ASSERT_TRUE(probe->getSettings(settings));
	EXPECT_TRUE(settings.allStories);
	EXPECT_TRUE(settings.selectionOnly);
	EXPECT_EQ(settings.fromStory, -1) << "a negative index is shown unchanged";
	EXPECT_EQ(settings.toStory, 4) << "story 3 is shown as 4 without a story zero";
}

// Which stories a run admits: the typed range, all stories, and a marquee on the active story
// (story 1) or over all stories. The counts before and after the refresh with the settings.
TEST_F(StoryChoiceTest, TheRunAdmitsTheChosenStories)
{
	const std::vector<ElementId> walls1235 = {{Types::Wall, 1}, {Types::Wall, 2}, {Types::Wall, 3}, {Types::Wall, 5}};
	const struct {
		const char* what;
		bool noStoryZero;
		std::int16_t selectionKind;
		std::uint8_t marqueeAllStories;
		std::vector<ElementId> selected;
		ProbeSettings settings;
		std::int32_t atOpening;
		std::int32_t afterRefresh;
	} cases[] = {
		{"without story zero typed 1 to 2 are stories 0 and 1", true, 0, 0, {}, {true, false, 1, 2, 3}, 11111,
			10 + 100},
		{"without story zero typed 0 to 0 is nothing", true, 0, 0, {}, {true, false, 0, 0, 3}, 11111, 0},
		{"with story zero typed numbers are indexes", false, 0, 0, {}, {true, false, -1, 1, 3}, 11111, 1 + 10 + 100},
		{"with story zero typed 0 is story 0", false, 0, 0, {}, {true, false, 0, 0, 3}, 11111, 10},
		{"a selection that is no marquee keeps every story", false, 1, 0, {{Types::Wall, 1}, {Types::Wall, 5}},
			{true, true, 0, 0, 3}, 1 + 10000, 1 + 10000},
		{"a marquee on the active story, whatever the range", false, 2, 0, walls1235, {true, false, 3, 3, 3}, 100, 100},
		{"a marquee over all stories follows the settings", false, 2, 1,
			{{Types::Wall, 1}, {Types::Wall, 2}, {Types::Wall, 5}}, {true, false, 3, 3, 3}, 1 + 10 + 10000, 10000},
		{"the entire project ignores an active-story marquee", false, 2, 0, {{Types::Wall, 1}}, {false, true, 0, 0, 3},
			0, 11111},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		host.reset();
		host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {folder / "addons", folder / "help"});
		LoadProbe();
		Project project = FiveStories(row.noStoryZero);
		project.CurrentSelection().kind = row.selectionKind;
		project.CurrentSelection().marqueeAllStories = row.marqueeAllStories;
		project.CurrentSelection().items = row.selected;
		OpenProject(project);
		OpenPalette();
		EXPECT_EQ(Result().totalPolygons, row.atOpening);
		Refresh(row.settings);
		EXPECT_EQ(Result().totalPolygons, row.afterRefresh);
	}
}

// ---- A run the person stops ------------------------------------------------------------------

// The module rewrites levels as it goes: what a stopped run changed stays changed, and the
// result before the stop stays current.
class StoppedRunTest : public CountingFixture {};

TEST_F(StoppedRunTest, LevelsChangedBeforeTheStopStayChanged)
{
	LoadProbe();
	OpenProject(Windows(4));
	OpenPalette();
	probe->setPartLevel(UniqueIdOf(1).c_str(), 2);
	// A clock moving a second at every reading: the progress window asks at every step.
	std::chrono::nanoseconds now {0};
	const VX::Clock previous = VX::SetClockForTesting([&now] { return now += std::chrono::seconds(1); });
	host->Progress().StopAtCancelQuestion(3);
	ASSERT_TRUE(probe->refresh());
	VX::SetClockForTesting(previous);
	EXPECT_EQ(ValueOf({Types::Window, 1}), "None");
	EXPECT_EQ(ValueOf({Types::Window, 2}), "None");
	EXPECT_EQ(ValueOf({Types::Window, 3}), "Full");
	EXPECT_EQ(Result().polygonsPerType[Types::Window], 480) << "the result before the stop";
}

} // namespace

// The results page and the command page as a person meets them: the real module loaded by the
// reference host on the sample project, driven by script lines through the dialog library's
// user layer. Each script carries its own checks, which fail the run when the module does not
// behave; the run's transcript is shown when one does.
#include "Host.hpp"
#include "PaletteHands.hpp"
#include "Script.hpp"

#include "DG/Item.hpp"
#include "DG/ListBox.hpp"
#include "DG/User.hpp"
#include "VX/Memory.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class ResultsPage : public testing::Test {
protected:
	void SetUp() override
	{
		liveHandles = VX::LiveHandleCount();
		help = fs::temp_directory_path() / ("facetally-results-" + std::to_string(::getpid()));
		host = std::make_unique<ReferenceHost::Host>(ReferenceHost::HostOptions {FACETALLY_ADDON_DIR, help});
		ASSERT_EQ(host->LoadAddOns(), 1u);
		ASSERT_TRUE(host->OpenProject(fs::path(FACETALLY_SOURCE_DIR) / "examples" / "sample-project.json"));
	}

	void TearDown() override
	{
		host.reset();
		std::error_code ignored;
		fs::remove_all(help, ignored);
		EXPECT_EQ(VX::LiveHandleCount(), liveHandles);
	}

	// Runs the lines after the palette was opened on the entire project, wide enough for
	// every column; answers the transcript when a check failed, else empty.
	std::string Run(const std::string& lines)
	{
		const std::string text = "menu Facetally\npalette-click \"Entire project\"\npalette-click Refresh\n"
								 "palette-resize 520 417\n" +
			lines;
		const ReferenceHost::Script script = ReferenceHost::ParseScript(text, "results.script");
		if (!script.IsValid())
			return script.problems.front().message;
		if (ReferenceHost::RunScript(*host, script) == 0)
			return {};
		return host->SessionTranscript().ToText(false);
	}

	std::unique_ptr<ReferenceHost::Host> host;

private:
	fs::path help;
	std::size_t liveHandles = 0;
};

struct Case {
	const char* name;
	const char* lines;
};

class ResultsPageScript : public ResultsPage, public testing::WithParamInterface<Case> {};

TEST_P(ResultsPageScript, BehavesAsThePersonSeesIt)
{
	EXPECT_EQ(Run(GetParam().lines), "");
}

const Case Cases[] = {
	{"TypeWithoutLibraryPartsShowsNoTriangle", R"(
palette-list-expect row Beam "~ Beam 2 12 0.29%"
palette-list-expect row Door "~ ▸ Door 3 208 5.02%"
)"},
	{"FoldAndUnfoldMoveExactlyTheTypesRowsInTheirOrder", R"(
palette-unfold Door
palette-list-expect rows 14
palette-list-expect row 6 "└ Panel Door 1.0 2 166 4.01% Custom"
palette-list-expect row 7 "~ └ Glass Door 1.1 1 42 1.01%"
palette-list-expect row 8 "~ ▸ Object 6 2,044 49.35%"
palette-fold Door
palette-list-expect rows 12
palette-list-expect row 6 "~ ▸ Object 6 2,044 49.35%"
)"},
	{"UnfoldedTypeStaysUnfoldedWithTheNewRowsAfterARefresh", R"(
palette-unfold Window
palette-list-expect row 5 "└ Casement Window 1.0 4 326 7.87% Custom"
palette-click "From story:"
palette-type to 0
palette-type edit#1 0
palette-click Refresh
palette-list-expect row Window "~ ▾ Window 3 262 14.75%"
palette-list-expect row 5 "└ Sliding Window 1.2 1 144 8.11% Custom"
palette-list-expect rows 14
)"},
	{"PartsWithoutDetailedOrParameterAreGrayedAndTheLevelOnlyShownWithAParameter", R"(
palette-unfold Object
palette-list-expect row 7 "~ └ Office Chair 4 1,856 44.81% Custom"
palette-list-expect row 8 "~ └ Table 160 1 108 2.61%"
)"},
	{"TheTriangleWithCommandOrOptionDoesNotFold", R"(
palette-list-click Window x 8 command
palette-list-click Window x 8 option
palette-list-expect rows 12
palette-list-click Window x 16
palette-list-expect rows 14
palette-list-click Window x 17
palette-list-expect rows 14
)"},
	{"DoubleClickOnTheTextOnlyStartsSetLevelOfDetail", R"(
palette-unfold Window
palette-list-double-click 5 x 25
palette-list-double-click 5 x 40 command
palette-list-double-click 5 x 40 option
expect-dialogs 2
palette-list-double-click 5 x 26
expect-dialogs 3
)"},
	{"FourEqualGapsAndTheRemainderAtTheRight", R"(
palette-resize 400 417
palette-expect position Select 10 3 page 5
palette-expect position Refresh 110 3 page 5
palette-expect position "Set Level of Detail" 210 3 page 5
palette-expect position text#1 10 40 page 5
palette-resize 403 417
palette-expect position "Set Level of Detail" 210 3 page 5
palette-resize 300 417
palette-expect position Select -15 3 page 5
palette-expect position Refresh 60 3 page 5
palette-expect size "Set Level of Detail" 180 24 page 5
)"},
	// Default while the default is Custom stores a level and starts no run: only the Detail
	// Level column is written again.
	{"AChangeWithoutARunRefillsTheDetailLevels", R"(
palette-unfold Window
palette-list-click "Casement Window 1.0"
answer choose Default ok
palette-click "Set Level of Detail"
palette-list-expect row 5 ">  └ Casement Window 1.0 4 326 7.87% Default"
palette-expect text text#1 "Number of polygons : 4,142" page 5
)"},
	{"TheScrollPositionIsKeptAcrossARefresh", R"(
palette-unfold Window
palette-unfold Door
palette-list-scroll 7
palette-click Refresh
palette-list-expect top 7
)"},
	{"AStoppedRefreshShowsTheResultStillCurrent", R"(
palette-expect text text#1 "Number of polygons : 4,142" page 5
palette-click "From story:"
stop-at-element 1
palette-click Refresh
palette-expect text text#1 "Number of polygons : 4,142" page 5
palette-list-expect rows 12
)"},
	// Select and Set Level of Detail read the rows the list's items point to: after refreshes,
	// a stopped one among them, and folding, every item must point into the current result
	// (the sanitizer build tells).
	{"ItemsPointIntoTheCurrentResultOnly", R"(
palette-unfold Window
palette-unfold Door
palette-click Refresh
stop-at-element 1
palette-click Refresh
palette-list-click 5
palette-list-click 8 command
palette-click Select page 5
palette-fold Window
palette-unfold Window
palette-click Refresh
palette-list-double-click 5
palette-click "Set Level of Detail" page 5
palette-list-expect row 5 ">  └ Casement Window 1.0 4 326 7.87% Custom"
)"},
};

INSTANTIATE_TEST_SUITE_P(Sample, ResultsPageScript, testing::ValuesIn(Cases),
	[](const testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

// The headers stand over their columns, the Name header from the start of the name field, and
// drop with them as the palette narrows.
TEST_F(ResultsPage, TheHeadersFollowTheColumnsAsThePaletteNarrows)
{
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	DG::Dialog* palette = ReferenceHost::FindOpenPalette(*host);
	ASSERT_NE(palette, nullptr);
	std::string problem;
	const auto listItem = ReferenceHost::FindPaletteItem(*palette, "list#1", 4, {}, problem);
	ASSERT_TRUE(listItem) << problem;
	DG::Panel& page = *listItem->page.panel;
	const DG::MultiSelListBox list(page, listItem->index);
	// Headers 1 to 5 stand over tab fields 3 to 7.
	for (const auto& [width, shown] : {std::pair {520, 5}, {420, 4}, {360, 3}, {290, 2}, {200, 1}, {120, 0}}) {
		SCOPED_TRACE("palette width " + std::to_string(width));
		ASSERT_TRUE(DG::User(*palette).Resize(static_cast<short>(width), 417));
		const short x0 = DG::Item(page, listItem->index).GetRect().left;
		for (short header = 1; header <= 5; ++header) {
			const auto field = static_cast<short>(header + 2);
			const DG::Item text(page, header);
			EXPECT_EQ(text.IsVisible(), header <= shown) << "header " << header;
			if (header > shown)
				continue;
			EXPECT_EQ(text.GetRect().left, x0 + list.GetTabFieldBeginPosition(field)) << "header " << header;
			EXPECT_EQ(text.GetRect().right, x0 + list.GetTabFieldEndPosition(field)) << "header " << header;
		}
	}
}

// The first run stopped: nothing is current, so the list stays empty and the line reads 0.
TEST_F(ResultsPage, AStoppedFirstRunLeavesTheListEmpty)
{
	const ReferenceHost::Script script =
		ReferenceHost::ParseScript("stop-at-element 1\nmenu Facetally\npalette-list-expect rows 0\n"
								   "palette-expect text text#1 \"Number of polygons : 0\" page 5\n",
			"stopped.script");
	ASSERT_TRUE(script.IsValid());
	EXPECT_EQ(ReferenceHost::RunScript(*host, script), 0) << host->SessionTranscript().ToText(false);
}

// The sample project misses a library part, so a message comes up in the middle of the run:
// a person who tries the palette then finds its items disabled, and usable again afterwards.
TEST_F(ResultsPage, ItemsAreDisabledWhileTheRunIsUnderway)
{
	ASSERT_TRUE(host->ChooseMenuItem("Facetally"));
	DG::Dialog* palette = ReferenceHost::FindOpenPalette(*host);
	ASSERT_NE(palette, nullptr);
	std::string problem;
	const auto refresh = ReferenceHost::FindPaletteItem(*palette, "Refresh", 0, {DG::ItemKind::Button}, problem);
	ASSERT_TRUE(refresh) << problem;
	DG::ActionResult duringRun = DG::ActionResult::Done();
	host->Dialogs().Answers().Enqueue([&](DG::User& person) {
		duringRun = DG::User(*refresh->page.panel).Click(refresh->index);
		person.Click("OK");
	});
	ASSERT_TRUE(DG::User(*refresh->page.panel).Click(refresh->index));
	EXPECT_FALSE(duringRun);
	EXPECT_NE(duringRun.GetProblem().find("disabled"), std::string::npos) << duringRun.GetProblem();
	EXPECT_TRUE(DG::User(*refresh->page.panel).Click(refresh->index));
}

} // namespace

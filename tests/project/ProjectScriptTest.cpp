// The project's script actions, run as a person's script against a host with the small
// project open: what they change, the events they raise, and how they fail.
#include "ProjectTestSupport.hpp"

#include "Script.hpp"

namespace ReferenceHost::Testing {
namespace {

class ProjectScriptTest : public ProjectHostTest {
protected:
	void SetUp() override
	{
		ProjectHostTest::SetUp();
		if (!HasFatalFailure())
			Open(SmallProjectText);
	}

	// Runs the lines one by one (the host does not quit); answers the first failure's problem.
	std::string Run(const std::string& text)
	{
		const Script script = ParseScript(text, "test.txt");
		if (!script.IsValid())
			return "invalid: " + script.problems.front().message;
		ScriptContext context {*host};
		for (const ScriptLine& line : script.lines) {
			const Outcome outcome = FindScriptAction(line.word)->run(context, line.arguments);
			if (!outcome)
				return outcome.problem;
		}
		return {};
	}
};

TEST_F(ProjectScriptTest, SelectingElementsAndAMarquee)
{
	EXPECT_EQ(Run("select Window:1 Object:1 Window:1\nexpect-selected 2\n"), "");
	const Selection& selection = CurrentProject().CurrentSelection();
	EXPECT_EQ(selection.kind, 1);
	EXPECT_EQ(selection.items, (std::vector<ElementId> {{4, 1}, {6, 1}}));
	EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Notice, "Selected: Window:1 Object:1"));

	EXPECT_EQ(Run("marquee active-story Wall:1\n"), "");
	EXPECT_EQ(selection.kind, 2);
	EXPECT_EQ(selection.marqueeAllStories, 0);
	EXPECT_EQ(Run("marquee all-stories\nexpect-selected 0\n"), "");
	EXPECT_EQ(selection.kind, 2) << "a marquee around nothing is still a marquee";
	EXPECT_EQ(selection.marqueeAllStories, 1);
	EXPECT_EQ(Run("select-none\n"), "");
	EXPECT_EQ(selection.kind, 0);
	EXPECT_FALSE(CurrentProject().IsModified()) << "selecting edits nothing";
}

TEST_F(ProjectScriptTest, WhatCannotBeSelected)
{
	EXPECT_EQ(Run("select Wall:3\n"), "The project has no element \"Wall:3\"");
	EXPECT_EQ(Run("select Wall:1 Door:1\n"), "The project has no element \"Door:1\"");
	EXPECT_EQ(CurrentProject().CurrentSelection().items.size(), 2u) << "a failed selection changes nothing";
	EXPECT_EQ(Run("select Wall\n"),
		"invalid: \"Wall\" does not name an element (write type, colon, index: Door:2); usage: select ELEMENT...");
	EXPECT_EQ(
		Run("marquee everywhere Wall:1\n").rfind("invalid: \"everywhere\" is not one of active-story, all-stories", 0),
		0u);
}

TEST_F(ProjectScriptTest, FilterStatesAndParametersAreEditsOfTheProject)
{
	EXPECT_EQ(Run("filter Wall:1 hidden\nfilter Wall:1 locked\n"), "");
	const Element& wall = *CurrentProject().FindElement(1, 1);
	EXPECT_FALSE(wall.visible);
	EXPECT_FALSE(wall.editable);
	EXPECT_TRUE(CurrentProject().IsModified());
	EXPECT_EQ(Run("filter Wall:1 visible\nfilter Wall:1 editable\n"), "");
	EXPECT_EQ(wall.FilterBits(), HostSdk::FilterVisible | HostSdk::FilterEditable);

	EXPECT_EQ(
		Run("expect-polygons Window:2 175\nset-parameter Window:2 lod Simple\nexpect-parameter Window:2 lod Simple\n"
			"expect-polygons Window:2 10\n"),
		"");
	EXPECT_EQ(Run("expect-polygons Window:2 175\n"), "expected Window:2 to have polygons 175, found 10");
	EXPECT_EQ(Run("set-parameter Window:2 width broad\n"), "Cannot set the parameter: \"broad\" is not a number");
	EXPECT_EQ(
		Run("set-parameter Wall:1 lod Off\n"), "Cannot set the parameter: the element Wall:1 has no parameter \"lod\"");
	EXPECT_EQ(Run("expect-parameter Window:2 lod Off\n"), "expected Window:2 lod = \"Off\", found \"Simple\"");
}

TEST_F(ProjectScriptTest, StoriesWindowsAndShowingAnElement)
{
	EXPECT_EQ(Run("story -1\nexpect-story -1\nwindow 4\nexpect-window 4\n"), "");
	EXPECT_EQ(Run("story 3\n"), "The project has no story 3 (its stories run from -1 to 2)");
	EXPECT_EQ(Run("expect-window 1\n"), "expected a current window of kind 1, found 4");
	EXPECT_EQ(Run("window 0\n").rfind("invalid: \"0\" is not a whole number from 1", 0), 0u);

	EXPECT_EQ(Run("show Window:1\n"), "");
	EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Notice,
		"Window:1: story 0, library part 1 \"Test Window\", in group 1, width = 1.5, "
		"panes = [left|right], sizes = [0.5|0.75], lod = Simple, 1 component, 10 polygons"));
}

TEST_F(ProjectScriptTest, DamageIsSwitchedPerKind)
{
	EXPECT_EQ(Run("damage group-data-too-short on\ndamage texts-unterminated on\ndamage texts-unterminated off\n"), "");
	EXPECT_TRUE(CurrentProject().Damage().groupDataTooShort);
	EXPECT_FALSE(CurrentProject().Damage().textsUnterminated);
	EXPECT_EQ(
		Run("damage everything on\n").rfind("invalid: \"everything\" is not one of value-list-count-too-large", 0), 0u);
}

TEST_F(ProjectScriptTest, WithoutAProjectTheActionsFail)
{
	ASSERT_TRUE(host->CloseProject());
	for (const char* line : {"select Wall:1\n", "filter Wall:1 hidden\n", "story 0\n", "window 1\n",
			 "damage group-data-too-short on\n", "expect-selected 0\n"})
		EXPECT_NE(Run(line).find("No project is open"), std::string::npos) << line;
	// The host starts with a new, empty project: naming an element there says how to open one.
	ASSERT_TRUE(host->NewProject());
	EXPECT_EQ(Run("set-parameter Window:1 lod3D Full\n"),
		"No project is open to hold \"Window:1\": open one first (\"open FILE\" in a script, or the project file "
		"after the options)");
}

} // namespace
} // namespace ReferenceHost::Testing

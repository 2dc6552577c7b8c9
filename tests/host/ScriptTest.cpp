// Scripts: splitting lines into words, checking a whole script before it runs, running it
// against a host with test add-ons, and the transcript a person reads afterwards.
#include "TestHost.hpp"

#include "Script.hpp"

namespace ReferenceHost::Testing {
namespace {

std::vector<std::string> Split(std::string_view line)
{
	std::vector<std::string> words;
	std::string problem;
	EXPECT_TRUE(SplitScriptLine(line, words, problem)) << problem;
	return words;
}

std::string SplitProblem(std::string_view line)
{
	std::vector<std::string> words;
	std::string problem;
	EXPECT_FALSE(SplitScriptLine(line, words, problem)) << line;
	return problem;
}

TEST(ScriptLineTest, WordsQuotesAndComments)
{
	EXPECT_EQ(Split("  menu   Facetally  "), (std::vector<std::string> {"menu", "Facetally"}));
	EXPECT_EQ(Split("menu \"Test Add-On A\" # a comment"), (std::vector<std::string> {"menu", "Test Add-On A"}));
	EXPECT_EQ(Split("say \"a \\\"quoted\\\" back\\\\slash\""),
		(std::vector<std::string> {"say", "a \"quoted\" back\\slash"}));
	EXPECT_EQ(Split("say \"# not a comment\""), (std::vector<std::string> {"say", "# not a comment"}));
	EXPECT_EQ(Split("say \"\""), (std::vector<std::string> {"say", ""}));
	EXPECT_EQ(Split("say 50%\r"), (std::vector<std::string> {"say", "50%"}));
	EXPECT_TRUE(Split("   # only a comment").empty());
	EXPECT_TRUE(Split("").empty());
}

TEST(ScriptLineTest, BadQuotesAreProblems)
{
	EXPECT_EQ(SplitProblem("menu \"Facetally"), "a quote is not closed");
	EXPECT_EQ(SplitProblem("say \"a\\nb\""), "only \\\" and \\\\ may follow a backslash in quotes");
	EXPECT_EQ(SplitProblem("say \"a\"b"), "a closing quote must end its word");
}

TEST(ScriptParseTest, KeepsActionsWithTheirLineNumbers)
{
	const Script script = ParseScript("# a script\n\nmenu Facetally\n  event 0x20   # close\nquit\n", "s.txt");
	ASSERT_TRUE(script.IsValid());
	ASSERT_EQ(script.lines.size(), 3u);
	EXPECT_EQ(script.lines[0].lineNumber, 3);
	EXPECT_EQ(script.lines[0].word, "menu");
	EXPECT_EQ(script.lines[0].arguments, std::vector<std::string> {"Facetally"});
	EXPECT_EQ(script.lines[1].lineNumber, 4);
	EXPECT_EQ(script.lines[1].text, "event 0x20   # close");
	EXPECT_EQ(script.lines[2].word, "quit");
}

TEST(ScriptParseTest, ListsEveryProblemWithItsLine)
{
	const Script script = ParseScript("menu\n"
									  "jump high\n"
									  "event twelve\n"
									  "event 0x100000000\n"
									  "palettes fold\n"
									  "expect colour red\n"
									  "expect palettes -1\n"
									  "save now\n"
									  "open \"unclosed\n"
									  "event -2147483648\n"
									  "event 0xFFFFFFFF\n",
		"bad.txt");
	ASSERT_EQ(script.problems.size(), 9u);
	EXPECT_EQ(script.problems[0].lineNumber, 1);
	EXPECT_EQ(script.problems[0].message, "wrong number of arguments; usage: menu TEXT");
	EXPECT_EQ(script.problems[1].message, "unknown action \"jump\"");
	EXPECT_EQ(script.problems[2].lineNumber, 3);
	EXPECT_NE(script.problems[2].message.find("is not a 32-bit number"), std::string::npos);
	EXPECT_EQ(script.problems[3].lineNumber, 4);
	EXPECT_NE(script.problems[4].message.find("hide or show"), std::string::npos);
	EXPECT_NE(script.problems[5].message.find("nothing called \"colour\""), std::string::npos);
	EXPECT_NE(script.problems[6].message.find("is not a count"), std::string::npos);
	EXPECT_EQ(script.problems[7].lineNumber, 8);
	EXPECT_EQ(script.problems[8].message, "a quote is not closed");
	EXPECT_EQ(script.lines.size(), 2u) << "the two event lines at the ends of the 32-bit range are fine";
}

TEST(ScriptParseTest, EveryActionIsDescribed)
{
	for (const ScriptActionDefinition& action : ScriptActions()) {
		SCOPED_TRACE(action.word);
		EXPECT_EQ(action.usage.rfind(action.word, 0), 0u) << "the usage starts with the action's word";
		EXPECT_FALSE(action.description.empty());
		EXPECT_TRUE(action.run);
		EXPECT_LE(action.minimumArguments, action.maximumArguments);
	}
}

class ScriptRunTest : public HostTest {
protected:
	int Run(std::string_view text)
	{
		const Script script = ParseScript(text, "test.txt");
		EXPECT_TRUE(script.IsValid());
		return RunScript(*host, script);
	}
};

TEST_F(ScriptRunTest, AMenuCommandAndItsCheckMark)
{
	Load(TestAddOnA);
	ASSERT_TRUE(host->NewProject());
	EXPECT_EQ(Run("menu \"Test Add-On A\"\n"
				  "expect checked \"Test Add-On A\"\n"
				  "expect report-line \"Test Add-On A menu command 1\"\n"
				  "menu \"test add-on a\"\n"
				  "expect unchecked \"Test Add-On A\"\n"
				  "expect report-lines 2\n"
				  "expect add-ons 1\n"
				  "menus\n"),
		0);
	EXPECT_TRUE(host->HasQuit()) << "the host quits at the end of the script";
	const std::string transcript = host->SessionTranscript().ToText(false);
	EXPECT_EQ(transcript,
		"Add-on \"Test Add-On A\" loaded: Records what the host does\n"
		"New project \"Untitled\"\n"
		"> menu \"Test Add-On A\"\n"
		"menu    [x] Test Add-On A\n"
		"report  | Test Add-On A menu command 1\n"
		"> expect checked \"Test Add-On A\"\n"
		"> expect report-line \"Test Add-On A menu command 1\"\n"
		"> menu \"test add-on a\"\n"
		"menu    [ ] Test Add-On A\n"
		"report  | Test Add-On A menu command 1\n"
		"> expect unchecked \"Test Add-On A\"\n"
		"> expect report-lines 2\n"
		"> expect add-ons 1\n"
		"> menus\n"
		"menu    [ ] Test Add-On A\n"
		"Quit\n");
}

TEST_F(ScriptRunTest, TheFirstFailingActionEndsTheScriptWithItsLineAndWhy)
{
	const struct {
		const char* action;
		const char* error;
	} cases[] = {
		{"menu Nothing", "test.txt:2: There is no menu item \"Nothing\""},
		{"expect checked \"Test Add-On A\"", "test.txt:2: the menu item \"Test Add-On A\" is not checked"},
		{"expect palettes 3", "test.txt:2: expected 3 registered palettes, found 0"},
		{"save", "test.txt:2: No project is open"},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.action);
		host.reset(); // one host at a time
		host = std::make_unique<Host>(HostOptions {TestAddOnFolder, scratch.Path() / "help"});
		Load(TestAddOnA);
		EXPECT_EQ(Run(std::string("say before\n") + row.action + "\nsay after\n"), 1);
		EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Notice, "before"));
		EXPECT_FALSE(host->SessionTranscript().Contains(TranscriptKind::Notice, "after"));
		EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Error, row.error));
		EXPECT_TRUE(host->HasQuit());
		EXPECT_TRUE(host->AddOns().Loaded().empty());
	}
}

TEST_F(ScriptRunTest, QuitEndsTheScriptThere)
{
	EXPECT_EQ(Run("quit\nsay later\n"), 0);
	EXPECT_FALSE(host->SessionTranscript().Contains(TranscriptKind::Notice, "later"));
}

TEST_F(ScriptRunTest, ProjectActionsAndRawEventsReachTheAddOn)
{
	TestAddOnControl& control = ControlOf(Load(TestAddOnA, [](TestAddOnControl& setUp) {
		setUp.registerEventsAtInitialize = true;
		setUp.deregisterAtQuitEvent = false;
	}));
	ASSERT_TRUE(host->NewProject());
	// The module is unloaded at the end; look at its record before.
	const std::string saved = (scratch.Path() / "a.json").string();
	const Script script = ParseScript(
		"save-as \"" + saved + "\"\nsave\nchange\nclose\nopen \"" + saved + "\"\nevent 64\nevent -1\n", "t");
	ASSERT_TRUE(script.IsValid());
	ScriptContext context {*host};
	for (const ScriptLine& line : script.lines)
		ASSERT_TRUE(FindScriptAction(line.word)->run(context, line.arguments)) << line.text;
	EXPECT_EQ(control.events, (std::vector<std::int32_t> {1, 128, 8, 16, 32, 4, 64, -1}));
}

TEST_F(ScriptRunTest, PaletteMessagesFromAScript)
{
	TestAddOnControl& control =
		ControlOf(Load(TestAddOnA, [](TestAddOnControl& setUp) { setUp.registerPaletteAtInitialize = true; }));
	ScriptContext context {*host};
	ASSERT_TRUE(FindScriptAction("palettes")->run(context, {"hide"}));
	ASSERT_TRUE(FindScriptAction("palettes")->run(context, {"show"}));
	ASSERT_TRUE(FindScriptAction("expect")->run(context, {"palettes", "1"}));
	EXPECT_EQ(control.paletteMessages, (std::vector<std::int32_t> {2, 3}));
}

} // namespace
} // namespace ReferenceHost::Testing

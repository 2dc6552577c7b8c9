// The preferences, the module's messages and the progress window as a person at the host
// meets them in a script: facetally-host run in-process on script files, its transcript read
// as printed. The script's own checks fail the run when the module does not behave.
#include "CommandLine.hpp"
#include "Host.hpp"
#include "LeakCheck.hpp"
#include "ProjectFile.hpp"
#include "ScratchFolder.hpp"

#include "VX/Timer.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace {

const std::string Key = "{9349160F-1FF1-4be3-9909-314107CCB286}";

class PreferencesScript : public ::testing::Test {
protected:
	void TearDown() override { VX::SetClockForTesting({}); }

	std::string Path(const std::string& name) { return (folder / name).string(); }

	void WriteProject(const std::string& name, std::uint32_t dataVersion, const std::string& bytes)
	{
		ReferenceHost::Project project(folder / name);
		project.StoreModuleData("Facetally", {dataVersion, 0x5757, {bytes.begin(), bytes.end()}});
		std::string problem;
		ASSERT_TRUE(ReferenceHost::WriteProjectFile(project, folder / name, problem)) << problem;
	}

	// Runs facetally-host with the script on the project; answers the exit code.
	int RunScript(const std::string& script, const std::string& project)
	{
		WriteWholeFile(folder / "session.script", script);
		out.str({});
		err.str({});
		return ReferenceHost::RunHostProgram({"facetally-host", "--addons", FACETALLY_ADDON_DIR, "--help-folder",
												 Path("help"), "--script", Path("session.script"), project},
			out, err);
	}

	bool Printed(const std::string& line) const
	{
		return ("\n" + out.str()).find("\n" + line + "\n") != std::string::npos;
	}

	LeakCheck leaks;
	ScratchFolder scratch;
	const std::filesystem::path& folder = scratch.Path();
	std::ostringstream out;
	std::ostringstream err;
};

TEST_F(PreferencesScript, LevelsAreMergedSavedAndReadAgain)
{
	WriteProject("start.json", 2,
		std::string("A\0"
					"1\0",
			4));
	WriteProject("other.json", 2,
		std::string("A\0"
					"2\0"
					"B\0"
					"0\0",
			8));
	const int code = RunScript("menu Facetally\n"
							   "merge " +
			Path("other.json") +
			"\n"
			"expect-module-data Facetally \"A|1|B|0|\"\n"
			"save-as " +
			Path("saved.json") +
			"\n"
			"expect-module-data Facetally \"A|1|B|0|" +
			Key +
			"|3|\"\n"
			"close\n"
			"open " +
			Path("saved.json") +
			"\n"
			"show-module-data\n"
			"expect-dialogs 0\n",
		Path("start.json"));
	EXPECT_EQ(code, 0) << out.str() << err.str();
	EXPECT_TRUE(Printed("The module data of \"Facetally\" were merged (8 bytes)")) << out.str();
	EXPECT_TRUE(Printed("Module data of \"Facetally\" (version 2): A|1|B|0|" + Key + "|3|")) << out.str();
}

TEST_F(PreferencesScript, TheMessageOfDataOfAnotherVersionIsShownAndAnswered)
{
	WriteProject("newer.json", 5, "of a format to come");
	const int code = RunScript("answer tick \"Do not show again\" ok\n"
							   "menu Facetally\n"
							   "expect-dialogs 1\n"
							   "save\n"
							   "expect-module-data Facetally \"of a format to come\"\n",
		Path("newer.json"));
	EXPECT_EQ(code, 0) << out.str() << err.str();
	EXPECT_TRUE(Printed("message Facetally error | -2130312810 (0x81060196: module data of another version) | "
						"FacetallyModuleData, ReadValues () | Do not show again | OK"))
		<< out.str();
	EXPECT_TRUE(Printed("> (in the dialog) tick \"Do not show again\"")) << out.str();
	EXPECT_TRUE(Printed("> (in the dialog) press \"OK\"")) << out.str();
}

TEST_F(PreferencesScript, AnAnswerAStepOfWhichTheDialogRefusesIsReported)
{
	WriteProject("newer.json", 5, "x");
	const int code = RunScript("answer press Maybe ok\n"
							   "menu Facetally\n",
		Path("newer.json"));
	EXPECT_EQ(code, 0) << out.str() << err.str();
	EXPECT_NE(err.str().find("error   The dialog refused the step press \"Maybe\""), std::string::npos) << err.str();
	EXPECT_TRUE(Printed("> (in the dialog) press \"OK\"")) << out.str();
}

TEST_F(PreferencesScript, AFailedCheckFailsTheScript)
{
	WriteProject("start.json", 2,
		std::string("A\0"
					"1\0",
			4));
	const int code = RunScript("menu Facetally\n"
							   "save\n"
							   "expect-module-data Facetally \"A|2|\"\n",
		Path("start.json"));
	EXPECT_EQ(code, 1);
	EXPECT_NE(err.str().find("expected the module data of \"Facetally\" to be \"A|2|\", found \"A|1|" + Key + "|3|\""),
		std::string::npos)
		<< err.str();
}

TEST_F(PreferencesScript, FaultyAnswersAndCountsAreRefusedBeforeAnythingRuns)
{
	const int code = RunScript("answer maybe\n"
							   "answer tick\n"
							   "stop-progress soon\n"
							   "expect-dialogs -1\n",
		"");
	EXPECT_EQ(code, 2);
	EXPECT_NE(err.str().find("session.script:1: \"maybe\" is no step of an answer"), std::string::npos) << err.str();
	EXPECT_NE(err.str().find("session.script:2: \"tick\" needs the label of what it acts on"), std::string::npos)
		<< err.str();
	EXPECT_NE(err.str().find("session.script:3: \"soon\" is not a count"), std::string::npos) << err.str();
	EXPECT_NE(err.str().find("session.script:4: \"-1\" is not a count"), std::string::npos) << err.str();
}

TEST_F(PreferencesScript, APersonStopsTheCountingRun)
{
	// Time moves 10 ms at every reading of the clock.
	auto now = std::make_shared<std::chrono::nanoseconds>(std::chrono::seconds(1000));
	VX::SetClockForTesting([now] { return *now += std::chrono::milliseconds(10); });
	const int code = RunScript("stop-progress 2\n"
							   "menu Facetally\n"
							   "expect-stop-questions 2\n"
							   "expect report-lines 0\n",
		FACETALLY_SOURCE_DIR "/examples/sample-project.json");
	EXPECT_EQ(code, 0) << out.str() << err.str();
	EXPECT_TRUE(Printed("progress Counting... (stopped by the person with the bar at 10 of 44)")) << out.str();
}

} // namespace

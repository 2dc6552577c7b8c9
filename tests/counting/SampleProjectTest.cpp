// The real module on the bundled sample project, through the host program in this process:
// the main job counts the whole project and shows the report in the host's frame, regional
// settings shape it, levels of an earlier session are applied and saved back, the example
// scripts run and the report window is saved to a file.
#include "CommandLine.hpp"
#include "UD/RollDownSurface.hpp"
#include "Win/LocaleSettings.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

struct ProgramRun {
	int exitCode = 0;
	std::string out;
	std::string err;
};

ProgramRun RunHost(std::vector<std::string> arguments)
{
	arguments.insert(arguments.begin(), {"facetally-host", "--addons", FACETALLY_ADDON_DIR});
	// A fresh session, as a program started anew: no palette remembers how an earlier run left it.
	UD::ForgetRolledStates();
	std::ostringstream out;
	std::ostringstream err;
	ProgramRun run;
	run.exitCode = ReferenceHost::RunHostProgram(arguments, out, err);
	run.out = out.str();
	run.err = err.str();
	return run;
}

std::string SampleProject()
{
	return (std::filesystem::path(FACETALLY_SOURCE_DIR) / "examples" / "sample-project.json").string();
}

class SampleProjectTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		// One folder per test: ctest runs the tests of this fixture side by side.
		folder = std::filesystem::path(FACETALLY_BINARY_DIR) / "counting-tests" /
			("sample-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
		std::filesystem::remove_all(folder);
		std::filesystem::create_directories(folder);
	}
	void TearDown() override
	{
		// The regional settings belong to the whole process, and the next test expects its own.
		Win::ResetUserLocaleSettings();
		if (!HasFailure())
			std::filesystem::remove_all(folder);
	}

	std::string Script(const std::string& text)
	{
		const std::filesystem::path file = folder / "script.txt";
		std::ofstream(file) << text;
		return file.string();
	}

	std::filesystem::path folder;
};

TEST_F(SampleProjectTest, TheMainJobCountsTheWholeProjectAndFramesTheReport)
{
	const ProgramRun run = RunHost({SampleProject()});
	EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
	const std::string& out = run.out;
	EXPECT_NE(out.find("\u250C\u2500 Report window "), std::string::npos) << out;
	EXPECT_NE(out.find("\u2502 Total polygons: "), std::string::npos);
	EXPECT_NE(
		out.find("\u2502     Wall                       (      10) :              168     \u2502"), std::string::npos)
		<< "ten walls of the project's eleven are visible and not deleted";
	const std::size_t stair = out.find("\u2502     Stair                      (       1) :");
	ASSERT_NE(stair, std::string::npos);
	EXPECT_NE(out.find("\u2502 Spiral Stair ", stair), std::string::npos) << "the stair's part follows its type";
	EXPECT_NE(out.find("message Facetally error | Error | A library part is missing! | Do not show again | OK"),
		std::string::npos)
		<< "the sample holds a part whose library is not loaded";
	EXPECT_NE(out.find("Summary\n  Project        sample-project.json: 51 elements on 4 stories, 9 library parts\n"),
		std::string::npos);
	EXPECT_NE(
		out.find(
			"read 44 elements, 97 3D components and 9 library parts; changed no elements\n                 wrote 25 "
			"lines into the report window; showed 1 message; 1 warning beep\n                 An add-on may read "
			"fewer"),
		std::string::npos)
		<< "each element once (the 42 visible of the 44 in the list and 2 groups), explained: " << out;
}

TEST_F(SampleProjectTest, LevelsChosenInTheProjectAreAppliedCountedAndSavedBack)
{
	// The sample with the module's data of an earlier session: "Simple" (1) chosen for the
	// Casement Window.
	const std::string casement = "{6A1C2F10-3B4D-4E5F-8A9B-0C1D2E3F4A51}-{00000000-0000-0000-0000-000000000000}";
	std::ifstream sample(SampleProject());
	nlohmann::json project = nlohmann::json::parse(sample);
	std::string block = casement + std::string(1, '\0') + "1" + std::string(1, '\0');
	std::string hex;
	for (const unsigned char byte : block) {
		static const char digits[] = "0123456789abcdef";
		hex += digits[byte >> 4];
		hex += digits[byte & 15];
	}
	project["moduleData"] = {{"Facetally", {{"dataVersion", 2}, {"platformMark", 0x5757}, {"bytes", hex}}}};
	const std::filesystem::path chosen = folder / "chosen.json";
	std::ofstream(chosen) << project.dump(2);

	const ProgramRun run = RunHost({"--script",
		Script("menu Facetally\n"
			   "expect-parameter Window:1 lod3D Reduced\n"
			   "expect-polygons Window:1 14\n"
			   "expect report-line \"Casement Window 1.0            (       4) :               56\"\n"
			   "save-as \"" +
			(folder / "saved.json").string() +
			"\"\n"
			"show-module-data\n"),
		chosen.string()});
	EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
	EXPECT_NE(run.out.find(casement + "|1|"), std::string::npos) << "the chosen level is saved back: " << run.out;
	EXPECT_NE(run.out.find("{9349160F-1FF1-4be3-9909-314107CCB286}|3|"), std::string::npos) << "with the default level";
	EXPECT_EQ(run.out.find("{8C3E4B30-5D6F-4071-ACBD-2E3F4A5B6C76}"), std::string::npos)
		<< "Table 160 has no level-of-detail parameter: its level 5 is not kept";
	EXPECT_NE(run.out.find("{7B2D3A20-4C5E-4F60-9BAC-1D2E3F4A5B63}-{00000000-0000-0000-0000-000000000000}|3|"),
		std::string::npos)
		<< "a part never chosen is kept as Custom";
}

TEST_F(SampleProjectTest, TheUsersRegionalSettingsFromTheCommandLineShapeTheReport)
{
	const ProgramRun run = RunHost({"--regional", "thousands=.", "--regional", "grouping=3;0", SampleProject()});
	EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
	EXPECT_NE(run.out.find("\u2502 Total polygons: 4.142 "), std::string::npos) << run.out;
	EXPECT_NE(run.out.find("\u2502     Object                     (       6) :            2.044     \u2502"),
		std::string::npos)
		<< "numbers still end at column 60 with the longer separator";
}

TEST_F(SampleProjectTest, RefusedRegionalSettingsStopTheProgramBeforeAnything)
{
	const std::pair<const char*, const char*> refusals[] = {
		{"grouping=3;x", "--regional: "},
		{"locale=xx_NOWHERE.UTF-8", "--regional: the locale \"xx_NOWHERE.UTF-8\" is not installed here"},
	};
	for (const auto& [setting, said] : refusals) {
		const ProgramRun run = RunHost({"--regional", setting, SampleProject()});
		EXPECT_EQ(run.exitCode, 2) << setting;
		EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
		EXPECT_EQ(run.out.find("Report window"), std::string::npos) << "nothing was counted";
	}
}

// Every file of a folder with its bytes, to see that running the examples changes none.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder)
{
	std::map<std::string, std::string> contents;
	for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
		std::ifstream stream(entry.path(), std::ios::binary);
		std::ostringstream bytes;
		bytes << stream.rdbuf();
		contents[entry.path().lexically_relative(folder).string()] = bytes.str();
	}
	return contents;
}

// The commented scripts of examples/ run as a person starts them, with nothing more on the
// command line and from a folder of their own; their own checks fail the run when the module
// or the host no longer behaves as they show, and what they write lands where they were run.
TEST_F(SampleProjectTest, TheExampleScriptsRunFromAnyFolderAndLeaveTheirOwnAsItWas)
{
	const std::filesystem::path examples = std::filesystem::path(FACETALLY_SOURCE_DIR) / "examples";
	const std::map<std::string, std::string> before = FolderContents(examples);
	const std::filesystem::path started = std::filesystem::current_path();
	std::filesystem::current_path(folder);
	std::size_t scripts = 0;
	for (const auto& entry : std::filesystem::directory_iterator(examples)) {
		if (entry.path().extension() != ".script")
			continue;
		++scripts;
		const ProgramRun run = RunHost({"--script", entry.path().string()});
		EXPECT_EQ(run.exitCode, 0) << entry.path().filename() << "\n" << run.out << run.err;
	}
	std::filesystem::current_path(started);
	EXPECT_GE(scripts, 8u);
	EXPECT_TRUE(FolderContents(examples) == before) << "running the examples changed " << examples;
	EXPECT_TRUE(std::filesystem::exists(folder / "set-level-of-detail-result.json"));
	EXPECT_TRUE(std::filesystem::exists(folder / "duplex-light.ifc"));
}

std::string FileText(const std::filesystem::path& file)
{
	std::ifstream stream(file, std::ios::binary);
	std::ostringstream text;
	text << stream.rdbuf();
	return text.str();
}

// A person keeps a count: the report window's lines as a text file, from an option at the end
// of the main job and from a script action in the middle of a session.
TEST_F(SampleProjectTest, TheReportWindowIsSavedToAFile)
{
	const std::filesystem::path whole = folder / "whole.txt";
	const ProgramRun run = RunHost({"--report-file", whole.string(), SampleProject()});
	EXPECT_EQ(run.exitCode, 0) << run.err;
	const std::string saved = FileText(whole);
	EXPECT_EQ(saved.rfind("\nTotal polygons: 4,142\n", 0), 0u) << saved;
	EXPECT_NE(saved.find("\n    Wall                       (      10) :              168\n"), std::string::npos)
		<< saved;
	EXPECT_EQ(static_cast<std::size_t>(std::count(saved.begin(), saved.end(), '\n')), 25u)
		<< "the 25 lines the summary says were written";

	const ProgramRun script = RunHost({"--script",
		Script("select Wall:1 Wall:5 Wall:9\n"
			   "menu Facetally\n"
			   "save-report \"" +
			(folder / "selection.txt").string() + "\"\n"),
		SampleProject()});
	EXPECT_EQ(script.exitCode, 0) << script.err;
	EXPECT_EQ(FileText(folder / "selection.txt").rfind("\nTotal polygons: 48\n", 0), 0u) << script.out;
}

// The lighter IFC file at the end of the main job; a project that was not read from IFC fails
// the run, with nothing written.
TEST_F(SampleProjectTest, TheMainJobEndsWithAnExportWhenAsked)
{
	const std::filesystem::path duplex = std::filesystem::path(FACETALLY_SOURCE_DIR) / "examples" / "duplex.ifc";
	const ProgramRun run = RunHost({duplex.string(), "--export-ifc", (folder / "light.ifc").string()});
	EXPECT_EQ(run.exitCode, 0) << run.err;
	EXPECT_NE(run.out.find("Exported \"light.ifc\" (IFC2X3)"), std::string::npos) << run.out;
	EXPECT_NE(FileText(folder / "light.ifc").find("'Facetally'"), std::string::npos);
	const ProgramRun refused = RunHost({SampleProject(), "--export-ifc", (folder / "none.ifc").string()});
	EXPECT_NE(refused.exitCode, 0);
	EXPECT_FALSE(std::filesystem::exists(folder / "none.ifc"));
}

} // namespace

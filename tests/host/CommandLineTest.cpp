// The facetally-host program: its command line, exit codes and printed transcript, run
// in-process and, for the exit codes a shell sees, as the real executable.
#include "TestHost.hpp"

#include "CommandLine.hpp"
#include "FileChecks.hpp"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace ReferenceHost::Testing {
namespace {

struct ProgramRun {
	int exitCode = -1;
	std::string out;
	std::string err;
};

ProgramRun RunInProcess(std::vector<std::string> arguments)
{
	arguments.insert(arguments.begin(), "facetally-host");
	std::ostringstream out;
	std::ostringstream err;
	ProgramRun run;
	run.exitCode = RunHostProgram(arguments, out, err);
	run.out = out.str();
	run.err = err.str();
	return run;
}

// Runs the built program through the shell; answers its exit status and standard output.
ProgramRun RunExecutable(const std::string& arguments)
{
	ProgramRun run;
	const std::string command = std::string("'") + HOST_PROGRAM + "' " + arguments + " 2>/dev/null";
	FILE* pipe = popen(command.c_str(), "r");
	if (pipe == nullptr)
		return run;
	char buffer[4096];
	std::size_t read = 0;
	while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
		run.out.append(buffer, read);
	const int status = pclose(pipe);
	run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
	return run;
}

class CommandLineTest : public ::testing::Test {
protected:
	std::string WriteScript(const std::string& text, const std::string& name = "script.txt")
	{
		const std::filesystem::path file = scratch.Path() / name;
		std::ofstream(file) << text;
		return file.string();
	}

	void SetUp() override { WriteEmptyProject(project); }

	static std::string ReadFile(const std::filesystem::path& file)
	{
		std::ifstream stream(file);
		return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
	}

	ScratchFolder scratch;
	const std::filesystem::path projectFile = scratch.Path() / "house.json";
	const std::string project = projectFile.string();
};

TEST_F(CommandLineTest, HelpListsTheOptionsAndScriptActions)
{
	const ProgramRun run = RunInProcess({"--help"});
	EXPECT_EQ(run.exitCode, ExitSuccess);
	EXPECT_NE(run.out.find("--addons"), std::string::npos);
	EXPECT_NE(run.out.find("--script"), std::string::npos);
	EXPECT_NE(run.out.find("Script actions"), std::string::npos);
	EXPECT_NE(run.out.find("menu TEXT"), std::string::npos);
}

TEST_F(CommandLineTest, UsageErrorsExitWithTwo)
{
	EXPECT_EQ(RunInProcess({}).exitCode, ExitUsage);
	EXPECT_NE(RunInProcess({}).err.find("name a PROJECT to open"), std::string::npos);
	EXPECT_EQ(RunInProcess({"--frobnicate"}).exitCode, ExitUsage);
	EXPECT_EQ(RunInProcess({"--script", (scratch.Path() / "missing.txt").string()}).exitCode, ExitUsage);
	EXPECT_EQ(RunInProcess({"one.json", "two.json"}).exitCode, ExitUsage);
}

TEST_F(CommandLineTest, AnInvalidScriptIsNotRunAtAll)
{
	const ProgramRun run = RunInProcess(
		{"--addons", TestAddOnFolder.string(), "--script", WriteScript("menu \"Test Add-On A\"\nfly away\nmenu\n")});
	EXPECT_EQ(run.exitCode, ExitUsage);
	EXPECT_NE(run.err.find("script.txt:2: unknown action \"fly\""), std::string::npos);
	EXPECT_NE(run.err.find("script.txt:3: wrong number of arguments"), std::string::npos);
	EXPECT_EQ(run.out, "") << "no add-on was even loaded";
}

TEST_F(CommandLineTest, TheMainJobChoosesEachAddOnsMenuCommand)
{
	const ProgramRun run = RunInProcess({"--addons", TestAddOnFolder.string(), project});
	EXPECT_EQ(run.exitCode, ExitSuccess) << run.out;
	EXPECT_NE(run.out.find("> open " + project + "\n"), std::string::npos);
	// The report window is shown in the host's frame once the command is done.
	EXPECT_NE(run.out.find("> menu Test Add-On A\nmenu    [x] Test Add-On A\n\n"
						   "\u250C\u2500 Report window \u2500"),
		std::string::npos)
		<< run.out;
	EXPECT_NE(run.out.find("\n\u2502 Test Add-On A menu command 1 \u2502\n"), std::string::npos) << run.out;
	EXPECT_NE(run.out.find("\n\u2502 Test Add-On B menu command 1 \u2502\n"), std::string::npos);
	EXPECT_EQ(run.out.find("report  | "), std::string::npos) << "the lines are not shown twice";
	EXPECT_NE(run.out.find("Summary\n  Project        house.json: "), std::string::npos) << run.out;
	EXPECT_NE(run.out.find("\n  Test Add-On A  menu command done in "), std::string::npos) << run.out;
	EXPECT_NE(
		run.out.find("wrote 1 line into the report window; showed no messages; no warning beeps\n"), std::string::npos)
		<< run.out;
	EXPECT_NE(run.out.find("> quit\n"), std::string::npos);
	EXPECT_EQ(run.out.find("  . "), std::string::npos) << "no details unless verbose";
}

TEST_F(CommandLineTest, VerboseShowsTheHostsTraffic)
{
	const ProgramRun run = RunInProcess({"-v", "--addons", TestAddOnFolder.string(), project});
	EXPECT_EQ(run.exitCode, ExitSuccess);
	EXPECT_NE(run.out.find("  . project event 4 (open project)"), std::string::npos);
	EXPECT_NE(run.out.find("  . Test Add-On A: release answered 0"), std::string::npos);
}

TEST_F(CommandLineTest, TheMainJobWithoutAddOnsFails)
{
	const std::filesystem::path empty = scratch.Path() / "no-add-ons";
	std::filesystem::create_directories(empty);
	const ProgramRun run = RunInProcess({"--addons", empty.string(), project});
	EXPECT_EQ(run.exitCode, ExitActionFailed);
	EXPECT_NE(run.err.find("No add-on is running"), std::string::npos);
}

// A newcomer's first mistakes: each is said once, on standard error, naming what was given,
// and the run stops with the exit code of its kind.
TEST_F(CommandLineTest, ANewcomersMistakesAreToldPlainly)
{
	const std::string addOns = TestAddOnFolder.string();
	const std::string missing = (scratch.Path() / "no-such-folder").string();
	const std::string folder = scratch.Path().string();
	struct Mistake {
		std::vector<std::string> arguments;
		int exitCode;
		std::string said;
	};
	const std::vector<Mistake> mistakes = {
		{{"--addons", missing, project}, ExitUsage,
			"facetally-host: the add-ons folder " + missing + " does not exist"},
		{{"--addons", project, project}, ExitUsage,
			"facetally-host: the add-ons folder " + project + " is not a folder"},
		{{"--addons", addOns, folder}, ExitActionFailed,
			"Cannot read the project file " + folder + ": it is a folder, not a file"},
		{{"--addons", addOns, "--script", WriteScript("opne house.json\n")}, ExitUsage,
			"script.txt:1: unknown action \"opne\" (did you mean \"open\"?)"},
		{{"--addons", addOns, "--script", WriteScript("open nowhere.json\n", "open.txt")}, ExitActionFailed,
			"open.txt:1: Cannot read the project file nowhere.json: there is no such file"},
		{{"--addons", addOns, "--script", WriteScript("menu \"Test Add-On\"\n", "menu.txt")}, ExitActionFailed,
			"There is no menu item \"Test Add-On\" (did you mean \"Test Add-On A\"?)"},
	};
	for (const Mistake& mistake : mistakes) {
		const ProgramRun run = RunInProcess(mistake.arguments);
		EXPECT_EQ(run.exitCode, mistake.exitCode) << mistake.said;
		EXPECT_NE(run.err.find(mistake.said), std::string::npos) << run.err;
		EXPECT_EQ(run.out.find(mistake.said), std::string::npos) << run.out;
		EXPECT_EQ(run.err.find("error", run.err.find(mistake.said) + mistake.said.size()), std::string::npos)
			<< "no second error follows: " << run.err;
	}
}

// A device would be read until memory runs out and a pipe would block the host for ever: what
// is not a regular file of a size the host can hold is refused at once, by name.
TEST_F(CommandLineTest, OnlyARegularFileOfAHoldableSizeIsOpened)
{
	const std::filesystem::path pipe = scratch.Path() / "pipe.json";
	ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
	const std::filesystem::path huge = scratch.Path() / "huge.json";
	std::ofstream(huge).close();
	std::filesystem::resize_file(huge, MostProjectFileBytes + 1);
	const struct {
		std::string file;
		std::string said;
	} cases[] = {
		{"/dev/zero", "Cannot read the project file /dev/zero: it is a device, not a file"},
		{pipe.string(), "Cannot read the project file " + pipe.string() + ": it is a named pipe, not a file"},
		{huge.string(),
			"Cannot read the project file " + huge.string() +
				": it holds 1073741825 bytes, more than the 1073741824 the host reads"},
	};
	for (const auto& refused : cases) {
		const ProgramRun run = RunInProcess({"--addons", TestAddOnFolder.string(), refused.file});
		EXPECT_EQ(run.exitCode, ExitActionFailed) << refused.file;
		EXPECT_NE(run.err.find(refused.said), std::string::npos) << run.err;
	}
}

// Save As writes over a project, or over another file when asked to; a link stays a link.
TEST_F(CommandLineTest, SaveAsWritesOverOnlyAProjectUnlessAskedAndFollowsALink)
{
	const std::filesystem::path notes = scratch.Path() / "notes.txt";
	std::ofstream(notes) << "my notes\n";
	const std::filesystem::path target = scratch.Path() / "target.json";
	std::filesystem::copy_file(projectFile, target);
	std::filesystem::create_symlink("target.json", scratch.Path() / "link.json");
	// A script writes where the host was started.
	auto save = [&](const std::string& line) {
		const std::filesystem::path started = std::filesystem::current_path();
		std::filesystem::current_path(scratch.Path());
		ProgramRun run =
			RunInProcess({"--addons", TestAddOnFolder.string(), "--script", WriteScript(line + "\n"), project});
		std::filesystem::current_path(started);
		return run;
	};

	const ProgramRun refused = save("save-as notes.txt");
	EXPECT_EQ(refused.exitCode, ExitActionFailed);
	EXPECT_NE(
		refused.err.find("script.txt:1: Will not write over notes.txt: it is not a project file"), std::string::npos)
		<< refused.err;
	EXPECT_EQ(ReadFile(notes), "my notes\n");

	EXPECT_EQ(save("save-as --replace notes.txt").exitCode, ExitSuccess);
	EXPECT_EQ(ReadFile(notes), ReadFile(project));

	const auto before = std::filesystem::last_write_time(target);
	EXPECT_EQ(save("save-as link.json").exitCode, ExitSuccess);
	EXPECT_TRUE(std::filesystem::is_symlink(scratch.Path() / "link.json"));
	EXPECT_EQ(ReadFile(target), ReadFile(project));
	EXPECT_NE(std::filesystem::last_write_time(target), before) << "the link's file took the project";
	EXPECT_EQ(save("save-as --keep x.json").exitCode, ExitUsage);
}
TEST_F(CommandLineTest, PathsInAScriptAreReadBesideTheScriptAndWrittenWhereTheHostStarted)
{
	const std::filesystem::path folder = scratch.Path() / "work";
	std::filesystem::create_directories(folder);
	std::filesystem::copy_file(projectFile, folder / "beside.json");
	const std::string script = WriteScript("open beside.json\nsave-as copy.json\n", "work/script.txt");
	const std::filesystem::path started = std::filesystem::current_path();
	std::filesystem::current_path(scratch.Path());
	const ProgramRun run = RunInProcess({"--addons", TestAddOnFolder.string(), "--script", script});
	std::filesystem::current_path(started);
	EXPECT_EQ(run.exitCode, ExitSuccess) << run.err;
	EXPECT_TRUE(std::filesystem::exists(scratch.Path() / "copy.json"));
	EXPECT_FALSE(std::filesystem::exists(folder / "copy.json"));
}

TEST_F(CommandLineTest, TheVersionAndAScriptFromStandardInput)
{
	const ProgramRun version = RunInProcess({"--version"});
	EXPECT_EQ(version.exitCode, ExitSuccess);
	EXPECT_EQ(version.out.rfind("facetally-host ", 0), 0u) << version.out;

	std::istringstream script("menu \"Test Add-On B\"\nexpect checked \"Test Add-On B\"\n");
	std::streambuf* const input = std::cin.rdbuf(script.rdbuf());
	const ProgramRun run = RunInProcess({"--addons", TestAddOnFolder.string(), "--script", "-", project});
	std::cin.rdbuf(input);
	EXPECT_EQ(run.exitCode, ExitSuccess) << run.err;
	EXPECT_NE(run.out.find("menu    [x] Test Add-On B"), std::string::npos) << run.out;
}

TEST_F(CommandLineTest, TheExecutableExitsWithTheSameCodes)
{
	EXPECT_EQ(RunExecutable("--help").exitCode, ExitSuccess);
	EXPECT_EQ(RunExecutable("").exitCode, ExitUsage);
	EXPECT_EQ(RunExecutable(
				  "--script '" + WriteScript("expect add-ons 5\n") + "' --addons '" + TestAddOnFolder.string() + "'")
				  .exitCode,
		ExitActionFailed);
	const ProgramRun run = RunExecutable("--addons '" + TestAddOnFolder.string() + "' '" + project + "'");
	EXPECT_EQ(run.exitCode, ExitSuccess);
	EXPECT_NE(run.out.find("\u2502 Test Add-On A menu command 1 \u2502"), std::string::npos);
}

} // namespace
} // namespace ReferenceHost::Testing

// The command line of facetally-host and the session it starts.
#include "CommandLine.hpp"

#include "Host.hpp"
#include "MainJob.hpp"
#include "RegionalSettings.hpp"
#include "Script.hpp"
#include "WebUiSession.hpp"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <unistd.h>

namespace ReferenceHost {

namespace {

std::string ScriptActionsHelp()
{
	std::string text = "Script actions (one per line, # starts a comment, \"quoted words\" keep blanks):\n";
	for (const ScriptActionDefinition& action : ScriptActions()) {
		text += "  " + action.usage + "\n      " + action.description + "\n";
	}
	return text;
}

bool ReadWholeFile(const std::string& file, std::string& text)
{
	std::ifstream stream(file, std::ios::binary);
	if (!stream)
		return false;
	std::ostringstream contents;
	contents << stream.rdbuf();
	if (stream.bad())
		return false;
	text = contents.str();
	return true;
}

} // namespace

int RunHostProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
	CLI::App app {"facetally-host: the reference host. Loads the add-ons, opens a project and chooses each "
				  "add-on's menu command, or runs a script of a person's actions; prints what a person would see.",
		"facetally-host"};
	app.footer(ScriptActionsHelp());
	HostOptions options = DefaultHostOptions();
	std::string project;
	std::string scriptFile;
	bool verbose = false;
	app.add_option("PROJECT", project, "the project file to open (JSON; see docs/project-format.md)");
	app.add_option("--addons", options.addOnFolder, "the add-ons folder (default: addons beside the program's folder)");
	app.add_option("--help-folder", options.helpFolder, "the folder named to add-ons as the help folder");
	app.add_option("--script", scriptFile,
		   "run the actions of this script instead of the main job (- reads it from standard input)")
		->check(CLI::Validator(
			[](const std::string& file) { return file == "-" ? std::string() : CLI::ExistingFile(file); }, "FILE"));
	std::vector<std::string> regional;
	app.add_option(
		   "--regional", regional, "the user's regional number settings, WORD=VALUE each: " + RegionalSettingsHelp())
		->allow_extra_args(false);
	bool ui = false;
	WebUiOptions uiOptions;
	app.add_flag("--ui", ui, "show the host as a page in a browser, at a local address it prints")
		->excludes("--script");
	app.add_option("--port", uiOptions.port, "the port of the page's address (default: any free port)")->needs("--ui");
	std::string reportFile;
	app.add_option("--report-file", reportFile, "at the end, save the report window's lines to this text file");
	std::string exportFile;
	app.add_option("--export-ifc", exportFile,
		   "at the end, write the project read from IFC as a lighter IFC file: each library part's body at its level")
		->excludes("--ui");
	app.add_flag("-v,--verbose", verbose, "also show the host's inner traffic: lifecycle calls, events, palettes");
	app.set_version_flag("--version", std::string("facetally-host ") + FACETALLY_VERSION);

	std::vector<const char*> argv;
	for (const std::string& argument : arguments)
		argv.push_back(argument.c_str());
	if (argv.empty())
		argv.push_back("facetally-host");
	try {
		app.parse(static_cast<int>(argv.size()), argv.data());
	} catch (const CLI::ParseError& error) {
		const int code = app.exit(error, out, err);
		return code == 0 ? ExitSuccess : ExitUsage;
	}

	// Without its add-ons the host can do nothing a person asked for; better said once, here.
	std::error_code kindUnknown;
	if (!std::filesystem::is_directory(options.addOnFolder, kindUnknown)) {
		err << "facetally-host: the add-ons folder " << options.addOnFolder.string()
			<< (std::filesystem::exists(options.addOnFolder, kindUnknown) ? " is not a folder" : " does not exist")
			<< " (name another with --addons DIR)\n";
		return ExitUsage;
	}

	if (const Outcome applied = ApplyRegionalSettings(regional); !applied) {
		err << "facetally-host: --regional: " << applied.problem << "\n";
		return ExitUsage;
	}

	Script script;
	if (!scriptFile.empty()) {
		std::string text;
		const bool fromInput = scriptFile == "-";
		if (fromInput) {
			std::ostringstream contents;
			contents << std::cin.rdbuf();
			text = contents.str();
		} else if (!ReadWholeFile(scriptFile, text)) {
			err << "facetally-host: cannot read the script " << scriptFile << "\n";
			return ExitUsage;
		}
		script =
			ParseScript(text, fromInput ? "(standard input)" : std::filesystem::path(scriptFile).filename().string());
		if (!fromInput)
			script.folder = std::filesystem::path(scriptFile).parent_path();
		if (!script.IsValid()) {
			for (const ScriptProblem& problem : script.problems)
				err << script.name << ":" << problem.lineNumber << ": " << problem.message << "\n";
			err << "facetally-host: the script was not run\n";
			return ExitUsage;
		}
	} else if (project.empty() && !ui) {
		err << "facetally-host: name a PROJECT to open, or a script with --script FILE\n"
			<< "Run with --help for more information.\n";
		return ExitUsage;
	}

	Host host(options);
	host.SessionTranscript().EchoTo(&out, verbose, &err);
	// A bar redrawn in place only makes sense to a person watching a terminal.
	if (&out == &std::cout && isatty(STDOUT_FILENO) == 1)
		host.Progress().DrawBarOn(&out);
	host.LoadAddOns();
	if (ui)
		return RunWebUiSession(host, project, uiOptions, out, err);
	int exitCode = ExitSuccess;
	if (scriptFile.empty()) {
		exitCode = RunMainJob(host, project);
	} else if (const Outcome started = project.empty() ? host.NewProject() : host.OpenProject(project); !started) {
		host.SessionTranscript().Add(TranscriptKind::Error, started.problem);
		host.Quit();
		exitCode = ExitActionFailed;
	} else {
		exitCode = RunScript(host, script);
	}
	if (!exportFile.empty()) {
		if (const Outcome exported = host.ExportLighterIfc(exportFile); !exported) {
			host.SessionTranscript().Add(TranscriptKind::Error, exported.problem);
			exitCode = ExitActionFailed;
		}
	}
	if (!reportFile.empty()) {
		std::string problem;
		if (!host.Report().SaveTo(reportFile, problem)) {
			host.SessionTranscript().Add(TranscriptKind::Error, problem);
			exitCode = ExitActionFailed;
		}
	}
	return exitCode;
}

} // namespace ReferenceHost

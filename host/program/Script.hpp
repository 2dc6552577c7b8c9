// Scripts: text files of a person's actions, one per line, run against a host. A line is an
// action word and its arguments, separated by blanks; an argument with blanks is written in
// double quotes (\" and \\ inside); "#" outside quotes starts a comment. The whole script is
// checked before anything runs, so a typing error never leaves a half-run session.
#pragma once

#include "Host.hpp"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <set>
#include <string_view>
#include <vector>

namespace ReferenceHost {

// What a running action can reach.
struct ScriptContext {
	Host& host;
	bool stop = false; // set by an action that ends the script (quit)
	// The script's folder: a relative path in an action that reads a file means a file beside
	// the script, wherever the host was started. Empty: the current folder.
	std::filesystem::path folder {};

	// Files the script wrote, as given: read again, they are the ones it wrote.
	std::set<std::string> written {};

	std::filesystem::path Resolve(const std::string& given) const;
	// A file the script writes stays where the host was started when its path is relative: running
	// a script never changes the folder the script lives in.
	std::filesystem::path Written(const std::string& given)
	{
		written.insert(given);
		return given;
	}
	// The outcome with the resolved path in its message written as the script gave it.
	Outcome AsGiven(Outcome outcome, const std::string& given) const;
};

// As an action's largest number of arguments: no limit.
inline constexpr std::size_t AnyNumber = std::numeric_limits<std::size_t>::max();

struct ScriptActionDefinition {
	std::string word;
	std::size_t minimumArguments = 0;
	std::size_t maximumArguments = 0;
	std::string usage;       // e.g. "menu TEXT"
	std::string description; // one line for the documentation and --help
	// Checks the arguments before anything runs; answers a problem, empty when they are fine.
	std::function<std::string(const std::vector<std::string>& arguments)> check;
	std::function<Outcome(ScriptContext& context, const std::vector<std::string>& arguments)> run;
};

// The actions scripts know, in the order --help lists them.
const std::vector<ScriptActionDefinition>& ScriptActions();
const ScriptActionDefinition* FindScriptAction(std::string_view word);

// The check of a count a person sees: "expected 3 report lines, found 2".
Outcome ExpectCount(std::string_view what, std::uint64_t expected, std::uint64_t found);

struct ScriptLine {
	int lineNumber = 0;
	std::string text; // the line as written, without its indentation
	std::string word;
	std::vector<std::string> arguments;
};

struct ScriptProblem {
	int lineNumber = 0;
	std::string message;
};

struct Script {
	std::string name;             // the file name, for messages
	std::filesystem::path folder; // where its relative paths start
	std::vector<ScriptLine> lines;
	std::vector<ScriptProblem> problems;

	bool IsValid() const { return problems.empty(); }
};

// Splits one line into words; false with a message for an unclosed quote or a bad escape.
bool SplitScriptLine(std::string_view line, std::vector<std::string>& words, std::string& problem);

// Parses and checks a whole script; every problem is listed with its line.
Script ParseScript(std::string_view text, std::string name);

// Runs a valid script: each line goes into the transcript as the person's action, then runs.
// The first action that fails is reported with its line and ends the script. The host quits
// at the end, whether or not the script said so. Answers the exit code: 0 when every action
// succeeded, 1 when one failed.
int RunScript(Host& host, const Script& script);

} // namespace ReferenceHost

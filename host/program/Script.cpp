// Reading scripts into checked lines and running them against a host.
#include "Script.hpp"
#include "Suggestion.hpp"

#include "ExitCodes.hpp"
#include "HostText.hpp"

namespace ReferenceHost {

bool SplitScriptLine(std::string_view line, std::vector<std::string>& words, std::string& problem)
{
	words.clear();
	std::size_t position = 0;
	const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
	while (position < line.size()) {
		while (position < line.size() && blank(line[position]))
			++position;
		if (position >= line.size() || line[position] == '#')
			break;
		std::string word;
		if (line[position] == '"') {
			++position;
			bool closed = false;
			while (position < line.size()) {
				const char c = line[position++];
				if (c == '"') {
					closed = true;
					break;
				}
				if (c == '\\') {
					if (position >= line.size() || (line[position] != '"' && line[position] != '\\')) {
						problem = "only \\\" and \\\\ may follow a backslash in quotes";
						return false;
					}
					word += line[position++];
				} else {
					word += c;
				}
			}
			if (!closed) {
				problem = "a quote is not closed";
				return false;
			}
			if (position < line.size() && !blank(line[position]) && line[position] != '#') {
				problem = "a closing quote must end its word";
				return false;
			}
		} else {
			while (position < line.size() && !blank(line[position]))
				word += line[position++];
		}
		words.push_back(std::move(word));
	}
	return true;
}

Script ParseScript(std::string_view text, std::string name)
{
	Script script;
	script.name = std::move(name);
	int lineNumber = 0;
	std::size_t start = 0;
	while (start <= text.size()) {
		std::size_t end = text.find('\n', start);
		if (end == std::string_view::npos)
			end = text.size();
		const std::string_view line = text.substr(start, end - start);
		++lineNumber;
		start = end + 1;

		std::vector<std::string> words;
		std::string problem;
		if (!SplitScriptLine(line, words, problem)) {
			script.problems.push_back({lineNumber, problem});
			continue;
		}
		if (words.empty())
			continue;
		const ScriptActionDefinition* action = FindScriptAction(words.front());
		if (action == nullptr) {
			std::vector<std::string> names;
			for (const ScriptActionDefinition& known : ScriptActions())
				names.push_back(known.word);
			script.problems.push_back(
				{lineNumber, "unknown action " + Quoted(words.front()) + DidYouMean(words.front(), names)});
			continue;
		}
		std::vector<std::string> arguments(words.begin() + 1, words.end());
		if (arguments.size() < action->minimumArguments || arguments.size() > action->maximumArguments) {
			script.problems.push_back({lineNumber, "wrong number of arguments; usage: " + action->usage});
			continue;
		}
		if (action->check) {
			const std::string argumentProblem = action->check(arguments);
			if (!argumentProblem.empty()) {
				script.problems.push_back({lineNumber, argumentProblem + "; usage: " + action->usage});
				continue;
			}
		}
		std::string written(line);
		if (!written.empty() && written.back() == '\r')
			written.pop_back();
		const std::size_t first = written.find_first_not_of(" \t");
		script.lines.push_back({lineNumber, written.substr(first), words.front(), std::move(arguments)});
	}
	return script;
}

std::filesystem::path ScriptContext::Resolve(const std::string& given) const
{
	const std::filesystem::path path(given);
	return path.is_absolute() || folder.empty() || written.contains(given) ? path : folder / path;
}

Outcome ScriptContext::AsGiven(Outcome outcome, const std::string& given) const
{
	const std::string resolved = Resolve(given).string();
	if (resolved != given)
		for (std::size_t at = outcome.problem.find(resolved); at != std::string::npos;
			 at = outcome.problem.find(resolved, at + given.size()))
			outcome.problem.replace(at, resolved.size(), given);
	return outcome;
}

int RunScript(Host& host, const Script& script)
{
	ScriptContext context {host, false, script.folder};
	int exitCode = ExitSuccess;
	for (const ScriptLine& line : script.lines) {
		if (host.HasQuit())
			break;
		host.SessionTranscript().Add(TranscriptKind::Action, line.text);
		const ScriptActionDefinition* action = FindScriptAction(line.word);
		const Outcome outcome = action != nullptr ? action->run(context, line.arguments)
												  : Outcome::Failure("unknown action " + Quoted(line.word));
		if (!outcome.ok) {
			host.SessionTranscript().Add(
				TranscriptKind::Error, script.name + ":" + std::to_string(line.lineNumber) + ": " + outcome.problem);
			exitCode = ExitActionFailed;
			break;
		}
		if (context.stop)
			break;
	}
	host.Quit();
	return exitCode;
}

} // namespace ReferenceHost

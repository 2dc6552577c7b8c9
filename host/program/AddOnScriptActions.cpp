// Dialog answers, the stop of a progress window, module data merges and their checks, as
// script lines.
#include "AddOnScriptActions.hpp"

#include "HostText.hpp"
#include "ProjectFile.hpp"
#include "StatusText.hpp"

#include <memory>
#include <string>
#include <utility>

namespace ReferenceHost {

namespace {

// A count the argument check has let through.
std::uint64_t CountOf(const std::string& text)
{
	return ParseWhole<std::uint64_t>(text).value_or(0);
}

auto CountAt(std::size_t position)
{
	return [position](const std::vector<std::string>& arguments) {
		return ParseWhole<std::uint64_t>(arguments[position]) ? std::string()
															  : Quoted(arguments[position]) + " is not a count";
	};
}

std::string CheckAnswer(const std::vector<std::string>& arguments)
{
	DialogAnswer answer;
	std::string problem;
	return ParseDialogAnswer(arguments, answer, problem) ? std::string() : problem;
}

Outcome Merge(ScriptContext& context, const std::string& file)
{
	if (context.host.CurrentProject() == nullptr)
		return Outcome::Failure("No project is open");
	std::string problem;
	const std::unique_ptr<Project> other = ReadProjectFile(context.Resolve(file), problem);
	if (other == nullptr)
		return context.AsGiven(Outcome::Failure(problem), file);
	if (other->AllModuleData().empty())
		context.host.SessionTranscript().Add(
			TranscriptKind::Notice, "The project " + Quoted(file) + " holds no module data");
	for (const ModuleDataMergeResult& result : context.host.ModuleData().MergeAll(*other))
		if (result.status != 0)
			return Outcome::Failure("The add-on " + Quoted(result.addOnName) +
				" could not merge the module data (status " + StatusText(result.status) + ")");
	return Outcome::Success();
}

} // namespace

std::string ModuleDataText(const std::vector<std::uint8_t>& bytes)
{
	std::string text;
	for (const std::uint8_t byte : bytes)
		text += byte == 0 ? '|' : static_cast<char>(byte);
	return text;
}

std::vector<ScriptActionDefinition> AddOnScriptActions()
{
	return {
		{"answer", 1, AnyNumber, "answer STEP...",
			"answer the next modal dialog with these steps in order: ok, cancel, press LABEL, tick LABEL, untick LABEL",
			CheckAnswer,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				DialogAnswer answer;
				std::string problem;
				ParseDialogAnswer(arguments, answer, problem);
				context.host.Dialogs().PlanAnswer(std::move(answer));
				return Outcome::Success();
			}},
		{"stop-progress", 1, 1, "stop-progress N",
			"ask the progress window to stop when the add-on asks for the N-th time from now (1: the next question)",
			CountAt(0),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				context.host.Progress().StopAtCancelQuestion(CountOf(arguments[0]));
				return Outcome::Success();
			}},
		{"stop-at-element", 1, 1, "stop-at-element N",
			"press stop while the add-on reads the N-th element from now (1: the next); its run ends before the "
			"element after it",
			CountAt(0),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				context.host.Progress().StopAtElementRead(CountOf(arguments[0]));
				return Outcome::Success();
			}},
		{"stop-reading-at", 1, 1, "stop-reading-at N",
			"press stop when the next IFC file opened has N elements read; the project that was open stays open",
			CountAt(0),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				context.host.StopIfcReadingAt(CountOf(arguments[0]));
				return Outcome::Success();
			}},
		{"merge", 1, 1, "merge FILE",
			"merge the module data of another project file into this project, through each add-on's merge handler",
			nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return Merge(context, arguments[0]);
			}},
		{"show-module-data", 0, 0, "show-module-data", "show each add-on's module data in the project, zeros as |",
			nullptr,
			[](ScriptContext& context, const std::vector<std::string>&) {
				const Project* project = context.host.CurrentProject();
				if (project == nullptr)
					return Outcome::Failure("No project is open");
				Transcript& transcript = context.host.SessionTranscript();
				if (project->AllModuleData().empty())
					transcript.Add(TranscriptKind::Notice, "The project holds no module data");
				for (const auto& [name, block] : project->AllModuleData())
					transcript.Add(TranscriptKind::Notice,
						"Module data of " + Quoted(name) + " (version " + std::to_string(block.dataVersion) +
							"): " + ModuleDataText(block.bytes));
				return Outcome::Success();
			}},
		{"expect-module-data", 2, 2, "expect-module-data ADD-ON TEXT",
			"check an add-on's module data in the project, zeros written as | (\"A|0|\")", nullptr,
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				const Project* project = context.host.CurrentProject();
				if (project == nullptr)
					return Outcome::Failure("No project is open");
				const ModuleDataBlock* block = project->FindModuleData(arguments[0]);
				if (block == nullptr)
					return Outcome::Failure("The project holds no module data of " + Quoted(arguments[0]));
				const std::string found = ModuleDataText(block->bytes);
				if (found != arguments[1])
					return Outcome::Failure("expected the module data of " + Quoted(arguments[0]) + " to be " +
						Quoted(arguments[1]) + ", found " + Quoted(found));
				return Outcome::Success();
			}},
		{"expect-dialogs", 1, 1, "expect-dialogs N", "check how many modal dialogs add-ons have shown", CountAt(0),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return ExpectCount("modal dialogs shown", CountOf(arguments[0]), context.host.Dialogs().DialogsShown());
			}},
		{"expect-stop-questions", 1, 1, "expect-stop-questions N",
			"check how often add-ons have asked the progress window whether to stop", CountAt(0),
			[](ScriptContext& context, const std::vector<std::string>& arguments) {
				return ExpectCount(
					"stop questions", CountOf(arguments[0]), context.host.Progress().Traffic().cancelQuestions);
			}},
	};
}

} // namespace ReferenceHost

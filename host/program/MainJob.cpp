// The main job's steps; each shows in the transcript as the person's action it stands for.
// The report window, and the palette the command opened, are shown in the host's frame once
// a command has written to it, rather than line by line as it fills, and the session ends
// with a summary of what each add-on did.
#include "MainJob.hpp"

#include "ExitCodes.hpp"
#include "HostText.hpp"
#include "PaletteScriptActions.hpp"
#include "WindowFrame.hpp"

#include "HostSdk/HostFunctions.hpp"

#include <chrono>
#include <cstdio>

namespace ReferenceHost {

namespace {

namespace Entry = HostSdk::Entry;

// What the host saw of one menu command.
struct CommandWatch {
	// Each element once, however often the add-on read it.
	std::uint64_t elementsRead = 0;
	std::uint64_t components = 0;
	std::uint64_t libraryParts = 0;
	std::uint64_t changes = 0;
	std::size_t reportLines = 0;
	std::size_t dialogs = 0;
	std::size_t beeps = 0;
	double seconds = 0;
};

std::string Seconds(double seconds)
{
	char text[32];
	if (seconds < 1.0)
		std::snprintf(text, sizeof text, "%.0f ms", seconds * 1000.0);
	else
		std::snprintf(text, sizeof text, "%.2f s", seconds);
	return text;
}

class Summary {
public:
	explicit Summary(Transcript& sessionTranscript) : transcript(sessionTranscript) {}

	void Line(const std::string& label, const std::string& text)
	{
		std::string line = "  " + label;
		line.resize(std::max<std::size_t>(line.size() + 1, 17), ' ');
		transcript.Add(TranscriptKind::Notice, line + text);
	}
	void More(const std::string& text) { transcript.Add(TranscriptKind::Notice, std::string(17, ' ') + text); }

private:
	Transcript& transcript;
};

std::string ProjectLine(const Project& project)
{
	const Stories& stories = project.StoryList();
	return project.Name() + ": " + Counted(project.TotalElementCount(), "element") + " on " +
		Counted(static_cast<std::size_t>(stories.last - stories.first + 1), "story", "stories") + ", " +
		Counted(project.LibraryParts().size(), "library part");
}

} // namespace

int RunMainJob(Host& host, const std::filesystem::path& projectFile)
{
	Transcript& transcript = host.SessionTranscript();
	int exitCode = ExitSuccess;
	transcript.Add(TranscriptKind::Action, "open " + projectFile.string());
	if (const Outcome opened = host.OpenProject(projectFile); !opened) {
		transcript.Add(TranscriptKind::Error, opened.problem);
		host.Quit();
		return ExitActionFailed;
	}
	const std::vector<AddOn*> running = host.AddOns().Loaded();
	if (running.empty()) {
		transcript.Add(TranscriptKind::Error, "No add-on is running: nothing to do");
		exitCode = ExitActionFailed;
	}
	// The report window is shown framed, as a whole, after each command.
	transcript.HoldBackFromEcho(TranscriptKind::Report, true);
	std::vector<std::pair<std::string, CommandWatch>> watched;
	for (AddOn* addOn : running) {
		const std::vector<const MenuItem*> items = host.Menus().ItemsOf(*addOn);
		if (items.empty()) {
			transcript.Add(TranscriptKind::Error, "The add-on " + Quoted(addOn->Name()) + " has no menu command");
			exitCode = ExitActionFailed;
			continue;
		}
		transcript.Add(TranscriptKind::Action, "menu " + items.front()->text);
		const HostFunctionTable& table = host.Table();
		host.ProjectAnswers().ForgetElementsRead();
		CommandWatch before {0, table.CallCount(Entry::Component3DRead), table.CallCount(Entry::LibPartRead),
			table.CallCount(Entry::ElementChange), host.Report().Lines().size(), host.Dialogs().DialogsShown(),
			host.BeepsHeard(), 0};
		const auto start = std::chrono::steady_clock::now();
		const Outcome chosen = host.ChooseMenuItem(*items.front());
		const auto end = std::chrono::steady_clock::now();
		if (!chosen) {
			transcript.Add(TranscriptKind::Error, chosen.problem);
			exitCode = ExitActionFailed;
		}
		CommandWatch watch {host.ProjectAnswers().ElementsRead(),
			table.CallCount(Entry::Component3DRead) - before.components,
			table.CallCount(Entry::LibPartRead) - before.libraryParts,
			table.CallCount(Entry::ElementChange) - before.changes, host.Report().Lines().size() - before.reportLines,
			host.Dialogs().DialogsShown() - before.dialogs, host.BeepsHeard() - before.beeps,
			std::chrono::duration<double>(end - start).count()};
		if (watch.reportLines > 0) {
			const std::vector<std::string> written(
				host.Report().Lines().end() - static_cast<std::ptrdiff_t>(watch.reportLines),
				host.Report().Lines().end());
			transcript.Add(TranscriptKind::Notice, "");
			for (std::string& line : FramedWindow("Report window", written))
				transcript.Add(TranscriptKind::Notice, std::move(line));
			transcript.Add(TranscriptKind::Notice, "");
		}
		// The palette the command opened, as it stands once the count is done.
		if (const std::vector<std::string> palette = PaletteLines(host, addOn); !palette.empty()) {
			for (std::string& line : FramedWindow("Palette of " + addOn->Name(), palette))
				transcript.Add(TranscriptKind::Notice, std::move(line));
			transcript.Add(TranscriptKind::Notice, "");
		}
		watched.emplace_back(addOn->Name(), watch);
	}
	transcript.HoldBackFromEcho(TranscriptKind::Report, false);

	Summary summary(transcript);
	transcript.Add(TranscriptKind::Notice, "Summary");
	if (const Project* project = host.CurrentProject())
		summary.Line("Project", ProjectLine(*project));
	for (const auto& [name, watch] : watched) {
		summary.Line(name, "menu command done in " + Seconds(watch.seconds));
		summary.More("read " + Counted(watch.elementsRead, "element") + ", " +
			Counted(watch.components, "3D component") + " and " + Counted(watch.libraryParts, "library part") +
			"; changed " + Counted(watch.changes, "element"));
		summary.More("wrote " + Counted(watch.reportLines, "line") + " into the report window; showed " +
			Counted(watch.dialogs, "message") + "; " + Counted(watch.beeps, "warning beep"));
	}
	if (!watched.empty() && host.CurrentProject() != nullptr) {
		summary.More("An add-on may read fewer elements than the project holds (each counts once here): deleted ones");
		summary.More(
			"are never read, and it may skip those on hidden layers or outside its chosen stories or filters.");
	}
	transcript.Add(TranscriptKind::Notice, "");
	transcript.Add(TranscriptKind::Action, "quit");
	host.Quit();
	return exitCode;
}

} // namespace ReferenceHost

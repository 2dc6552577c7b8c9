// The main job's steps; each shows in the transcript as the person's action it stands for.
#include "MainJob.hpp"

namespace ReferenceHost {

int RunMainJob(Host& host, const std::filesystem::path& projectFile)
{
	Transcript& transcript = host.SessionTranscript();
	int exitCode = 0;
	transcript.Add(TranscriptKind::Action, "open " + projectFile.string());
	if (const Outcome opened = host.OpenProject(projectFile); !opened) {
		transcript.Add(TranscriptKind::Error, opened.problem);
		host.Quit();
		return 1;
	}
	const std::vector<AddOn*> running = host.AddOns().Loaded();
	if (running.empty()) {
		transcript.Add(TranscriptKind::Error, "No add-on is running: nothing to do");
		exitCode = 1;
	}
	for (AddOn* addOn : running) {
		const std::vector<const MenuItem*> items = host.Menus().ItemsOf(*addOn);
		if (items.empty()) {
			transcript.Add(TranscriptKind::Error, "The add-on \"" + addOn->Name() + "\" has no menu command");
			exitCode = 1;
			continue;
		}
		transcript.Add(TranscriptKind::Action, "menu " + items.front()->text);
		if (const Outcome chosen = host.ChooseMenuItem(*items.front()); !chosen) {
			transcript.Add(TranscriptKind::Error, chosen.problem);
			exitCode = 1;
		}
	}
	transcript.Add(TranscriptKind::Action, "quit");
	host.Quit();
	return exitCode;
}

} // namespace ReferenceHost

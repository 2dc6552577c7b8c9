// The host's user-interface thread while it is shown in a browser.
#include "WebUiSession.hpp"

#include "CommandLine.hpp"
#include "Host.hpp"
#include "WebUiActions.hpp"
#include "WebUiGeometry.hpp"
#include "WebUiModel.hpp"
#include "WebUiServer.hpp"

#include "DG/Panel.hpp"
#include "DG/UserAgent.hpp"

#include <atomic>
#include <csignal>
#include <vector>

namespace ReferenceHost {

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

// How often the loop looks up from waiting, to notice an interrupt.
constexpr auto Patience = std::chrono::milliseconds(200);
// A run's progress reaches the page at most this often: often enough to watch it move.
constexpr auto ProgressPushInterval = std::chrono::milliseconds(40);

std::atomic<bool> interrupted = false;

extern "C" void Interrupt(int)
{
	interrupted = true;
}

bool IsStop(const json& action)
{
	return action.value("do", std::string()) == "stop";
}

class WebUiSession final : public DG::UserAgent {
public:
	WebUiSession(Host& shownHost, WebUiServer& pageServer)
		: host(shownHost), server(pageServer), previousAgent(DG::SetUserAgent(this))
	{
		host.Progress().Watch([this] { WhileCommandRuns(); });
	}

	~WebUiSession() override
	{
		host.Progress().Watch(nullptr);
		DG::SetUserAgent(previousAgent);
	}

	WebUiSession(const WebUiSession&) = delete;
	WebUiSession& operator=(const WebUiSession&) = delete;

	void Run()
	{
		Publish();
		while (!host.HasQuit() && !interrupted) {
			if (std::optional<PageAction> action = server.WaitForAction(Patience))
				Perform(*action);
		}
	}

	// A modal dialog an add-on shows: a planned answer takes it, as in a script; otherwise the
	// page's person answers it, and the command waits as on a desktop.
	void ActOnModalDialog(DG::ModalDialog& dialog) override
	{
		if (host.Dialogs().Answers().GetPendingCount() > 0) {
			host.Dialogs().Answers().ActOnModalDialog(dialog);
			return;
		}
		const short id = dialog.GetId();
		modalDialogs.push_back(id);
		Publish();
		auto stillOpen = [&] { return DG::FindPanel(id) == &dialog && dialog.IsOpen(); };
		while (stillOpen() && !interrupted) {
			if (std::optional<PageAction> action = server.WaitForAction(Patience))
				Perform(*action);
		}
		if (stillOpen())
			dialog.PostCloseRequest(DG::ModalDialog::Cancel);
		modalDialogs.pop_back();
	}

private:
	void Perform(const PageAction& queued)
	{
		const std::string what = DescribePageAction(queued.action);
		if (!queued.refused.empty()) {
			host.SessionTranscript().Add(
				TranscriptKind::Error, "The page's action " + what + " was refused: " + queued.refused);
			Publish();
			return;
		}
		host.SessionTranscript().Add(TranscriptKind::Action, "(page) " + what);
		++running;
		Publish();
		Outcome outcome;
		// Nothing an action throws may end the host with the person's unsaved project.
		try {
			outcome = PerformPageAction(
				host, queued.action, ActionGate {modalDialogs.empty() ? short(0) : modalDialogs.back()});
		} catch (const std::exception& error) {
			outcome = Outcome::Failure(std::string("the host failed while carrying it out: ") + error.what());
		} catch (...) {
			outcome = Outcome::Failure("the host failed while carrying it out");
		}
		--running;
		if (!outcome)
			host.SessionTranscript().Add(
				TranscriptKind::Error, "The page's action " + what + " was refused: " + outcome.problem);
		Publish();
	}

	// The progress window changed or asks whether to stop: the page sees the run move, and a
	// stop pressed meanwhile reaches the window before the add-on's question is answered.
	void WhileCommandRuns()
	{
		if (insideWatcher)
			return;
		insideWatcher = true;
		if ((server.TakeActions(IsStop) > 0 || interrupted) && host.Progress().IsOpen())
			host.Progress().StopAtCancelQuestion(1);
		if (Clock::now() - lastPublished >= ProgressPushInterval)
			Publish();
		insideWatcher = false;
	}

	void Publish()
	{
		WebUiStatus status;
		status.busy = running > 0;
		status.openModalDialogs = static_cast<int>(modalDialogs.size());
		// The geometry is there before the state that names it.
		const Project* project = host.CurrentProject();
		const std::uint64_t shown = project != nullptr ? project->Serial() : 0;
		if (shown != geometryShown) {
			std::string buffer = project != nullptr ? PageGeometryBuffer(*project) : std::string();
			server.PublishGeometry(buffer.empty() ? nullptr : std::make_shared<const std::string>(std::move(buffer)));
			geometryShown = shown;
		}
		server.Publish(DescribeHostWindow(host, status).dump(-1, ' ', false, json::error_handler_t::replace),
			host.Report().Lines(), host.Report().Clearings());
		lastPublished = Clock::now();
	}

	Host& host;
	WebUiServer& server;
	DG::UserAgent* previousAgent;
	std::vector<short> modalDialogs;
	// Actions being carried out: more than one while a dialog's action runs inside a command.
	int running = 0;
	bool insideWatcher = false;
	Clock::time_point lastPublished;
	std::uint64_t geometryShown = 0; // the serial of the project whose geometry the page gets
};

} // namespace

int RunWebUiSession(
	Host& host, const std::string& project, const WebUiOptions& options, std::ostream& out, std::ostream& err)
{
	const Outcome started = project.empty() ? host.NewProject() : host.OpenProject(project);
	if (!started) {
		host.SessionTranscript().Add(TranscriptKind::Error, started.problem);
		host.Quit();
		return ExitActionFailed;
	}
	WebUiServer server;
	std::string problem;
	if (!server.Start(options.port, problem)) {
		err << "facetally-host: --ui: " << problem << "\n";
		host.Quit();
		return ExitUsage;
	}
	interrupted = false;
	auto previousInt = std::signal(SIGINT, Interrupt);
	auto previousTerm = std::signal(SIGTERM, Interrupt);
	out << "The host's window: open " << server.Address() << " in a browser (Ctrl+C quits)" << std::endl;
	{
		WebUiSession session(host, server);
		session.Run();
	}
	if (!host.HasQuit())
		host.Quit();
	// The page sees the host gone before the server ends.
	server.Publish(
		DescribeHostWindow(host, WebUiStatus {}).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
		host.Report().Lines(), host.Report().Clearings());
	server.Stop();
	std::signal(SIGINT, previousInt);
	std::signal(SIGTERM, previousTerm);
	return ExitSuccess;
}

} // namespace ReferenceHost

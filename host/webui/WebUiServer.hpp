// The HTTP side of the host's window in a browser. It listens on the loopback address only and
// answers only requests that carry the run's random token as the first part of their path and
// whose Host (and Origin, when sent) name this server itself: another local user without the
// token, a page of another site and a rebound DNS name are all refused. It serves the page's
// files, the newest state the host published (also pushed as server-sent events), and queues
// the page's actions for the host's user-interface thread; it never touches the host itself.
#pragma once
#include <nlohmann/json.hpp>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace ReferenceHost {

// An action of the page as it came; a refused one carries why, for the host's transcript.
struct PageAction {
	nlohmann::json action;
	std::string refused;
};

class WebUiServer {
public:
	WebUiServer();
	~WebUiServer();
	WebUiServer(const WebUiServer&) = delete;
	WebUiServer& operator=(const WebUiServer&) = delete;

	// Listens on 127.0.0.1 at port, or at a free port for 0. False with the reason otherwise.
	bool Start(int port, std::string& problem);
	// Ends the pushes and the server; the queue's waits return at once from now on.
	void Stop();
	int Port() const { return port; }
	const std::string& Token() const { return token; }
	// The address a person opens: http://127.0.0.1:PORT/TOKEN/
	std::string Address() const;

	// ---- For the host's user-interface thread ----------------------------------------------
	// The next action of the page, in the order they came (refused ones too, to be told); none
	// when timeout passed or the server stopped.
	std::optional<PageAction> WaitForAction(std::chrono::milliseconds timeout);
	// Takes out the queued actions that match, leaving the rest in order (the stop button
	// while a command runs); refused ones are left for the transcript.
	std::size_t TakeActions(const std::function<bool(const nlohmann::json&)>& matches);
	// Offers a new state to the page (a JSON object) with the report window's lines and how
	// often the window was cleared; only a state that differs from the last one is pushed. Each
	// push carries the report lines its page has not had yet, as "report": {"clearings",
	// "start", "lines"}; the state read whole carries them all.
	void Publish(std::string state, const std::vector<std::string>& reportLines, std::uint64_t reportClearings);
	// The open project's geometry as the page fetches it (api/geometry); null for none.
	void PublishGeometry(std::shared_ptr<const std::string> buffer);

private:
	void Serve();
	// Waits until the state is newer than what a page was sent, or timeout passed; false once
	// the server stops. A newer state is then in message, with the report lines the page lacks.
	struct PageSent {
		std::uint64_t version = 0;
		std::uint64_t reportClearings = 0;
		std::size_t reportLines = 0;
	};
	bool WaitForNewerState(PageSent& sent, std::chrono::milliseconds timeout, std::string& message);
	// The state with the report lines from start on; the mutex is held.
	std::string StateWithReportFrom(std::size_t start) const;

	std::unique_ptr<httplib::Server> server;
	std::thread listener;
	int port = 0;
	std::string token;

	std::mutex mutex;
	std::condition_variable actionArrived;
	std::condition_variable statePublished;
	std::deque<PageAction> actions;
	std::string state = "{}";
	std::shared_ptr<const std::string> geometry;
	std::vector<std::string> reportLines;
	std::uint64_t reportClearings = 0;
	std::uint64_t stateVersion = 1;
	bool stopping = false;
	int eventStreams = 0;
};

// A token of 128 random bits from the system's source of randomness, as 32 hex digits.
std::string MakeRandomToken();

// Whether a request's Host header and Origin header (empty when not sent) name the server at
// 127.0.0.1 or localhost on port. Exposed for tests of the rule.
bool IsOwnHost(const std::string& hostHeader, int port);
bool IsOwnOrigin(const std::string& originHeader, int port);

} // namespace ReferenceHost

// The loopback HTTP server of the host's window: the token and origin checks, the page's files,
// the state and its pushes, the queue of actions.
#include "WebUiServer.hpp"

#include "BoundedHttpServer.hpp"
#include "WebUiActions.hpp"
#include "WebUiPageFiles.hpp"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <sys/random.h>

namespace ReferenceHost {

namespace {

constexpr const char* Loopback = "127.0.0.1";
// Actions waiting beyond this many mean a runaway page; later ones are refused.
constexpr std::size_t MostQueuedActions = 1000;
constexpr std::size_t MostActionBytes = 64 * 1024;
// A comment line keeps an idle push connection from timing out.
constexpr auto KeepAliveInterval = std::chrono::seconds(10);
// How soon a push connection whose client has gone is let go.
constexpr auto ClientCheckInterval = std::chrono::milliseconds(250);
// Browser tabs showing the window at once; each holds a connection for as long as it is open.
constexpr int MostEventStreams = 16;

std::string Lowercase(std::string text)
{
	std::transform(
		text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
	return text;
}

bool SameToken(std::string_view given, const std::string& token)
{
	// Compared in full whatever differs first, so the time taken tells nothing.
	unsigned char difference = given.size() == token.size() ? 0 : 1;
	for (std::size_t i = 0; i < token.size(); ++i)
		difference |= static_cast<unsigned char>(i < given.size() ? given[i] ^ token[i] : 1);
	return difference == 0;
}

const char* ContentType(std::string_view name)
{
	if (name.ends_with(".html"))
		return "text/html; charset=utf-8";
	if (name.ends_with(".css"))
		return "text/css; charset=utf-8";
	if (name.ends_with(".js"))
		return "text/javascript; charset=utf-8";
	return "application/octet-stream";
}

// The 3D library's files the page loads, from the installed package: address → file.
const std::vector<std::pair<std::string, std::string>>& LibraryFiles()
{
	static const std::vector<std::pair<std::string, std::string>> files = {
		{"three.min.js", FACETALLY_THREE_DIR "/three.min.js"},
		{"OrbitControls.js", FACETALLY_THREE_DIR "/examples/js/controls/OrbitControls.js"}};
	return files;
}

void Refuse(httplib::Response& response, int status, const std::string& why)
{
	response.status = status;
	response.set_content("Refused: " + why + "\n", "text/plain; charset=utf-8");
}

} // namespace

std::string MakeRandomToken()
{
	unsigned char bytes[16];
	std::size_t filled = 0;
	while (filled < sizeof bytes) {
		const ssize_t got = getrandom(bytes + filled, sizeof bytes - filled, 0);
		if (got < 0)
			throw std::runtime_error("no random numbers for the page's token");
		filled += static_cast<std::size_t>(got);
	}
	static constexpr char Digits[] = "0123456789abcdef";
	std::string token;
	for (unsigned char byte : bytes) {
		token += Digits[byte >> 4];
		token += Digits[byte & 0xF];
	}
	return token;
}

bool IsOwnHost(const std::string& hostHeader, int port)
{
	const std::string host = Lowercase(hostHeader);
	const std::string suffix = ":" + std::to_string(port);
	return host == Loopback + suffix || host == "localhost" + suffix;
}

bool IsOwnOrigin(const std::string& originHeader, int port)
{
	const std::string origin = Lowercase(originHeader);
	return origin.starts_with("http://") && IsOwnHost(origin.substr(7), port);
}

WebUiServer::WebUiServer() : server(std::make_unique<BoundedHttpServer>()), token(MakeRandomToken())
{
}

WebUiServer::~WebUiServer()
{
	Stop();
}

std::string WebUiServer::Address() const
{
	return std::string("http://") + Loopback + ":" + std::to_string(port) + "/" + token + "/";
}

bool WebUiServer::Start(int wantedPort, std::string& problem)
{
	if (wantedPort < 0 || wantedPort > 65535) {
		problem = "the port must be between 0 (any free port) and 65535";
		return false;
	}
	Serve();
	if (wantedPort == 0) {
		port = server->bind_to_any_port(Loopback);
	} else if (server->bind_to_port(Loopback, wantedPort)) {
		port = wantedPort;
	}
	if (port <= 0) {
		problem =
			"cannot listen on " + std::string(Loopback) + " port " + std::to_string(wantedPort) + " (is it in use?)";
		return false;
	}
	listener = std::thread([this] { server->listen_after_bind(); });
	return true;
}

void WebUiServer::Stop()
{
	{
		std::lock_guard lock(mutex);
		if (stopping)
			return;
		stopping = true;
	}
	actionArrived.notify_all();
	statePublished.notify_all();
	server->stop();
	if (listener.joinable())
		listener.join();
}

void WebUiServer::Serve()
{
	server->set_payload_max_length(MostActionBytes);
	server->set_default_headers(
		{{"Cache-Control", "no-store"}, {"X-Content-Type-Options", "nosniff"}, {"Referrer-Policy", "no-referrer"},
			{"X-Frame-Options", "DENY"}, {"Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'"}});
	server->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
		using Handled = httplib::Server::HandlerResponse;
		// A name that merely resolves to this machine (DNS rebinding) is not this host.
		if (!IsOwnHost(request.get_header_value("Host"), port)) {
			Refuse(response, 403, "unknown host name");
			return Handled::Handled;
		}
		const std::string origin = request.get_header_value("Origin");
		if ((!origin.empty() && !IsOwnOrigin(origin, port)) ||
			request.get_header_value("Sec-Fetch-Site") == "cross-site") {
			Refuse(response, 403, "request from another site");
			return Handled::Handled;
		}
		const std::string_view path = request.path;
		const std::size_t slash = path.find('/', 1);
		if (path.size() < 2 ||
			!SameToken(path.substr(1, slash == std::string_view::npos ? path.npos : slash - 1), token)) {
			Refuse(response, 403, "the address lacks this session's token");
			return Handled::Handled;
		}
		return Handled::Unhandled;
	});

	server->Get("/[0-9a-f]+", [](const httplib::Request& request, httplib::Response& response) {
		response.set_redirect(request.path + "/");
	});
	server->Get("/[0-9a-f]+/([a-z0-9.]*)", [](const httplib::Request& request, httplib::Response& response) {
		std::string name = request.matches[1];
		if (name.empty())
			name = "index.html";
		for (const PageFile& file : PageFiles()) {
			if (file.name == name) {
				response.set_content(std::string(file.content), ContentType(file.name));
				return;
			}
		}
		Refuse(response, 404, "no such file");
	});
	server->Get("/[0-9a-f]+/three/([A-Za-z.]+)", [](const httplib::Request& request, httplib::Response& response) {
		for (const auto& [name, file] : LibraryFiles()) {
			if (name != request.matches[1])
				continue;
			std::ifstream in(file, std::ios::binary);
			std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
			if (!in.good() && !in.eof())
				break;
			if (content.empty())
				return Refuse(response, 404, "the 3D library is not installed (libjs-three)");
			response.set_content(std::move(content), ContentType(name));
			return;
		}
		Refuse(response, 404, "no such file");
	});
	server->Get("/[0-9a-f]+/api/geometry", [this](const httplib::Request&, httplib::Response& response) {
		std::shared_ptr<const std::string> shown;
		{
			std::lock_guard lock(mutex);
			shown = geometry;
		}
		if (shown == nullptr)
			return Refuse(response, 404, "the open project has no 3D geometry");
		response.set_content(*shown, "application/octet-stream");
	});
	server->Get("/[0-9a-f]+/api/state", [this](const httplib::Request&, httplib::Response& response) {
		std::lock_guard lock(mutex);
		response.set_content(StateWithReportFrom(0), "application/json");
	});
	server->Get("/[0-9a-f]+/api/events", [this](const httplib::Request&, httplib::Response& response) {
		{
			std::lock_guard lock(mutex);
			if (eventStreams >= MostEventStreams) {
				Refuse(response, 503, "too many windows are showing the host");
				return;
			}
			++eventStreams;
		}
		auto sent = std::make_shared<PageSent>();
		response.set_chunked_content_provider(
			"text/event-stream",
			[this, sent](std::size_t, httplib::DataSink& sink) {
				const auto quietUntil = std::chrono::steady_clock::now() + KeepAliveInterval;
				std::string message;
				while (message.empty()) {
					std::string newest;
					if (!WaitForNewerState(*sent, ClientCheckInterval, newest))
						return false;
					if (!newest.empty()) {
						message = "data: " + newest + "\n\n";
					} else if (!sink.is_writable()) {
						return false;
					} else if (std::chrono::steady_clock::now() >= quietUntil) {
						message = ": still here\n\n";
					}
				}
				return sink.write(message.data(), message.size());
			},
			[this](bool) {
				std::lock_guard lock(mutex);
				--eventStreams;
			});
	});
	server->Post("/[0-9a-f]+/api/action", [this](const httplib::Request& request, httplib::Response& response) {
		// A form of another site cannot send this type without the browser asking first.
		if (!request.get_header_value("Content-Type").starts_with("application/json")) {
			Refuse(response, 415, "actions are JSON");
			return;
		}
		nlohmann::json action = nlohmann::json::parse(request.body, nullptr, false);
		std::string problem = CheckPageAction(action);
		{
			std::lock_guard lock(mutex);
			if (stopping) {
				Refuse(response, 503, "the host is closing");
				return;
			}
			if (actions.size() >= MostQueuedActions) {
				Refuse(response, 503, "too many actions are waiting");
				return;
			}
			// A refused action still reaches the host's thread, which tells the person.
			actions.push_back({std::move(action), problem});
		}
		actionArrived.notify_one();
		if (!problem.empty()) {
			Refuse(response, 400, problem);
			return;
		}
		response.status = 202;
		response.set_content("{\"queued\":true}", "application/json");
	});
}

bool WebUiServer::WaitForNewerState(PageSent& sent, std::chrono::milliseconds timeout, std::string& message)
{
	std::unique_lock lock(mutex);
	statePublished.wait_for(lock, timeout, [&] { return stopping || stateVersion != sent.version; });
	if (stopping)
		return false;
	if (stateVersion == sent.version)
		return true;
	// Lines the page had before the window was cleared are not the window's any more.
	const std::size_t start =
		sent.reportClearings == reportClearings ? std::min(sent.reportLines, reportLines.size()) : 0;
	message = StateWithReportFrom(start);
	sent = {stateVersion, reportClearings, reportLines.size()};
	return true;
}

std::string WebUiServer::StateWithReportFrom(std::size_t start) const
{
	std::string report =
		"{\"clearings\":" + std::to_string(reportClearings) + ",\"start\":" + std::to_string(start) + ",\"lines\":[";
	for (std::size_t line = start; line < reportLines.size(); ++line) {
		if (line > start)
			report += ',';
		report += nlohmann::json(reportLines[line]).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
	}
	report += "]}";
	// The state is an object the host's thread wrote: the report goes in as its first member.
	const bool empty = state.size() <= 2;
	return "{\"report\":" + report + (empty ? "" : ",") + state.substr(1);
}

std::optional<PageAction> WebUiServer::WaitForAction(std::chrono::milliseconds timeout)
{
	std::unique_lock lock(mutex);
	actionArrived.wait_for(lock, timeout, [&] { return stopping || !actions.empty(); });
	if (stopping || actions.empty())
		return std::nullopt;
	PageAction action = std::move(actions.front());
	actions.pop_front();
	return action;
}

std::size_t WebUiServer::TakeActions(const std::function<bool(const nlohmann::json&)>& matches)
{
	std::lock_guard lock(mutex);
	const std::size_t before = actions.size();
	std::erase_if(actions, [&](const PageAction& queued) { return queued.refused.empty() && matches(queued.action); });
	return before - actions.size();
}

void WebUiServer::PublishGeometry(std::shared_ptr<const std::string> buffer)
{
	std::lock_guard lock(mutex);
	geometry = std::move(buffer);
}

void WebUiServer::Publish(std::string newState, const std::vector<std::string>& lines, std::uint64_t clearings)
{
	{
		std::lock_guard lock(mutex);
		if (newState == state && clearings == reportClearings && lines.size() == reportLines.size())
			return;
		state = std::move(newState);
		// Lines once written stay as they are: only new ones are taken, unless it was cleared.
		if (clearings != reportClearings || lines.size() < reportLines.size()) {
			reportLines.clear();
			reportClearings = clearings;
		}
		reportLines.insert(
			reportLines.end(), lines.begin() + static_cast<std::ptrdiff_t>(reportLines.size()), lines.end());
		++stateVersion;
	}
	statePublished.notify_all();
}

} // namespace ReferenceHost

#include "IfcReaderProcess.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <vector>

extern char** environ;

namespace ReferenceHost {

namespace {

// The converter's pipes; its two answers are read as they fill so neither blocks it.
struct Pipes {
	int in[2] = {-1, -1};
	int out[2] = {-1, -1};
	int err[2] = {-1, -1};

	~Pipes()
	{
		for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
			if (fd >= 0)
				close(fd);
	}
};

// The whole request, before the converter answers anything; a converter gone early (a broken
// pipe) shows in its exit, not as a signal to the host.
void WriteRequest(int fd, const std::string& input)
{
	struct sigaction ignore {}, previous {};
	ignore.sa_handler = SIG_IGN;
	sigaction(SIGPIPE, &ignore, &previous);
	for (std::size_t written = 0; written < input.size();) {
		const ssize_t put = write(fd, input.data() + written, input.size() - written);
		if (put < 0 && errno == EINTR)
			continue;
		if (put <= 0)
			break;
		written += static_cast<std::size_t>(put);
	}
	sigaction(SIGPIPE, &previous, nullptr);
}

} // namespace

bool RunIfcReader(const std::filesystem::path& reader, const std::vector<std::string>& arguments,
	const std::string& input, const IfcReadProgress& progress, const std::string& name, std::string& output,
	std::string& problem)
{
	Pipes pipes;
	if (pipe2(pipes.in, O_CLOEXEC) != 0 || pipe2(pipes.out, O_CLOEXEC) != 0 || pipe2(pipes.err, O_CLOEXEC) != 0) {
		problem = name + ": cannot start the IFC reader (" + std::strerror(errno) + ")";
		return false;
	}
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_adddup2(&actions, pipes.in[0], STDIN_FILENO);
	posix_spawn_file_actions_adddup2(&actions, pipes.out[1], STDOUT_FILENO);
	posix_spawn_file_actions_adddup2(&actions, pipes.err[1], STDERR_FILENO);
	const std::string programText = reader.string();
	std::vector<char*> argv {const_cast<char*>(programText.c_str())};
	for (const std::string& argument : arguments)
		argv.push_back(const_cast<char*>(argument.c_str()));
	argv.push_back(nullptr);
	// A group of its own: a Ctrl+C at the terminal is the host's to answer, by a stop.
	posix_spawnattr_t attributes;
	posix_spawnattr_init(&attributes);
	posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
	posix_spawnattr_setpgroup(&attributes, 0);
	pid_t child = 0;
	const int spawned = posix_spawn(&child, programText.c_str(), &actions, &attributes, argv.data(), environ);
	posix_spawn_file_actions_destroy(&actions);
	posix_spawnattr_destroy(&attributes);
	if (spawned != 0) {
		problem = name + ": cannot start the IFC reader " + programText + " (" + std::strerror(spawned) + ")";
		return false;
	}
	close(pipes.in[0]);
	close(pipes.out[1]);
	close(pipes.err[1]);
	pipes.in[0] = pipes.out[1] = pipes.err[1] = -1;
	WriteRequest(pipes.in[1], input);
	close(pipes.in[1]);
	pipes.in[1] = -1;

	output.clear();
	std::string messages, refusal;
	bool stopped = false;
	std::size_t scanned = 0;
	std::size_t lastDone = 0, lastTotal = 0;
	std::array<pollfd, 2> watched {{{pipes.out[0], POLLIN, 0}, {pipes.err[0], POLLIN, 0}}};
	while (watched[0].fd >= 0 || watched[1].fd >= 0) {
		// Woken now and then, so a stop asked for between reports is seen at once.
		if (poll(watched.data(), watched.size(), 200) < 0 && errno != EINTR)
			break;
		if (progress && !stopped && !progress(lastDone, lastTotal)) {
			stopped = true;
			kill(child, SIGKILL);
		}
		for (std::size_t i = 0; i < watched.size(); ++i) {
			if (watched[i].fd < 0 || watched[i].revents == 0)
				continue;
			char buffer[65536];
			const ssize_t got = read(watched[i].fd, buffer, sizeof buffer);
			if (got <= 0) {
				watched[i].fd = -1;
				continue;
			}
			(i == 0 ? output : messages).append(buffer, static_cast<std::size_t>(got));
		}
		// Whole lines of the converter's reports.
		for (std::size_t end; (end = messages.find('\n', scanned)) != std::string::npos; scanned = end + 1) {
			const std::string line = messages.substr(scanned, end - scanned);
			std::size_t done = 0, total = 0;
			if (std::sscanf(line.c_str(), "progress %zu %zu", &done, &total) == 2) {
				lastDone = done;
				lastTotal = total;
				if (progress && !stopped && !progress(done, total)) {
					stopped = true;
					kill(child, SIGKILL);
				}
			} else if (line.rfind("refused ", 0) == 0) {
				refusal = line.substr(8);
			}
		}
	}
	int status = 0;
	while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
	}
	if (stopped) {
		problem = "stopped";
		return false;
	}
	if (!refusal.empty()) {
		problem = name + ": " + refusal;
		return false;
	}
	if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
		problem = name + ": the IFC reader stopped unexpectedly (" +
			(WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
								 : "exit " + std::to_string(WEXITSTATUS(status))) +
			")";
		return false;
	}

	return true;
}

} // namespace ReferenceHost

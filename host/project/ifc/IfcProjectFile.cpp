#include "IfcProjectFile.hpp"

#include "FileChecks.hpp"
#include "ProjectFile.hpp"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>

extern char** environ;

namespace ReferenceHost {

namespace {

// Both pipes of the converter, read as they fill so neither blocks it.
struct Pipes {
	int out[2] = {-1, -1};
	int err[2] = {-1, -1};

	~Pipes()
	{
		for (int fd : {out[0], out[1], err[0], err[1]})
			if (fd >= 0)
				close(fd);
	}
};

} // namespace

bool IsIfcFile(const std::filesystem::path& file)
{
	std::string extension = file.extension().string();
	std::transform(extension.begin(), extension.end(), extension.begin(),
		[](unsigned char c) { return static_cast<char>(std::tolower(c)); });
	return extension == ".ifc" || extension == ".ifczip";
}

std::unique_ptr<Project> ReadIfcProjectFile(const std::filesystem::path& reader, const std::filesystem::path& file,
	const IfcReadProgress& progress, IfcReadSummary& summary, std::string& problem)
{
	const std::string name = file.filename().string();
	if (!CheckFileBeforeReading(file, MostProjectFileBytes, "Cannot read the IFC file", problem))
		return nullptr;
	Pipes pipes;
	if (pipe2(pipes.out, O_CLOEXEC) != 0 || pipe2(pipes.err, O_CLOEXEC) != 0) {
		problem = name + ": cannot start the IFC reader (" + std::strerror(errno) + ")";
		return nullptr;
	}
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_adddup2(&actions, pipes.out[1], STDOUT_FILENO);
	posix_spawn_file_actions_adddup2(&actions, pipes.err[1], STDERR_FILENO);
	const std::string programText = reader.string();
	const std::string fileText = file.string();
	std::array<char*, 3> arguments {
		const_cast<char*>(programText.c_str()), const_cast<char*>(fileText.c_str()), nullptr};
	// A group of its own: a Ctrl+C at the terminal is the host's to answer, by a stop.
	posix_spawnattr_t attributes;
	posix_spawnattr_init(&attributes);
	posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
	posix_spawnattr_setpgroup(&attributes, 0);
	pid_t child = 0;
	const int spawned = posix_spawn(&child, programText.c_str(), &actions, &attributes, arguments.data(), environ);
	posix_spawn_file_actions_destroy(&actions);
	posix_spawnattr_destroy(&attributes);
	if (spawned != 0) {
		problem = name + ": cannot start the IFC reader " + programText + " (" + std::strerror(spawned) + ")";
		return nullptr;
	}
	close(pipes.out[1]);
	close(pipes.err[1]);
	pipes.out[1] = pipes.err[1] = -1;

	std::string output, messages, refusal;
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
		return nullptr;
	}
	if (!refusal.empty()) {
		problem = name + ": " + refusal;
		return nullptr;
	}
	if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
		problem = name + ": the IFC reader stopped unexpectedly (" +
			(WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
								 : "exit " + std::to_string(WEXITSTATUS(status))) +
			")";
		return nullptr;
	}

	// The first line says what was read, the rest is the project file's text.
	const std::size_t firstLine = output.find('\n');
	const nlohmann::json read = nlohmann::json::parse(output.substr(0, firstLine), nullptr, false);
	if (firstLine == std::string::npos || !read.is_object()) {
		problem = name + ": the IFC reader's answer cannot be read";
		return nullptr;
	}
	summary.schema = read.value("schema", "");
	summary.withoutGeometry = read.value("withoutGeometry", 0);
	summary.skippedEntities = read.value("skippedEntities", 0);
	summary.peakMemoryBytes = read.value("peakMemoryBytes", std::int64_t {0});
	summary.cpuSeconds = read.value("cpuSeconds", 0.0);
	// The geometry's block closes the answer.
	const std::uint64_t geometryBytes = read.value("geometryBytes", std::uint64_t {0});
	if (geometryBytes > output.size() - firstLine - 1) {
		problem = name + ": the IFC reader's answer is cut short";
		return nullptr;
	}
	const std::size_t projectEnd = output.size() - geometryBytes;
	std::unique_ptr<Project> project =
		ParseProjectText(std::string_view(output).substr(firstLine + 1, projectEnd - firstLine - 1), name, problem);
	if (project == nullptr)
		return nullptr;
	if (geometryBytes > 0) {
		std::shared_ptr<ModelGeometry> geometry = ModelGeometry::FromBlock(std::string_view(output).substr(projectEnd), problem);
		if (geometry != nullptr)
			problem = geometry->MismatchWith(*project);
		if (geometry == nullptr || !problem.empty()) {
			problem = name + ": the IFC reader's geometry cannot be used (" + problem + ")";
			return nullptr;
		}
		geometry->AddPartBoxes();
		project->SetGeometry(std::move(geometry));
	}
	project->SetFile(file);
	project->SetIfcSchema(summary.schema);
	// A part's file is the IFC file that holds its type.
	for (const LibraryPart& part : project->LibraryParts())
		project->FindLibraryPart(part.index)->file = file.string();
	return project;
}

} // namespace ReferenceHost

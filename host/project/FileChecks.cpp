// Checking a file before it is read or written over.
#include "FileChecks.hpp"

#include <system_error>

namespace ReferenceHost {

namespace {

// Links followed before a chain is taken for a loop, as the system does.
constexpr int MostLinksFollowed = 40;

std::string KindOf(std::filesystem::file_type type)
{
	using std::filesystem::file_type;
	switch (type) {
	case file_type::directory: return "a folder";
	case file_type::fifo: return "a named pipe";
	case file_type::character:
	case file_type::block: return "a device";
	case file_type::socket: return "a socket";
	default: break;
	}
	return "not a regular file";
}

} // namespace

bool HoldsZeroCharacter(const std::filesystem::path& file)
{
	return file.native().find('\0') != std::string::npos;
}

bool CheckFileBeforeReading(
	const std::filesystem::path& file, std::uintmax_t mostBytes, const std::string& what, std::string& problem)
{
	const std::string named = what + " " + file.string() + ": ";
	if (HoldsZeroCharacter(file)) {
		problem = named + "the name holds a zero character";
		return false;
	}
	std::error_code error;
	const std::filesystem::file_status status = std::filesystem::status(file, error);
	if (status.type() == std::filesystem::file_type::not_found) {
		problem = named + "there is no such file";
		return false;
	}
	if (error) {
		problem = named + error.message();
		return false;
	}
	if (status.type() != std::filesystem::file_type::regular) {
		problem = named + "it is " + KindOf(status.type()) + ", not a file";
		return false;
	}
	const std::uintmax_t size = std::filesystem::file_size(file, error);
	if (error) {
		problem = named + error.message();
		return false;
	}
	if (size > mostBytes) {
		problem = named + "it holds " + std::to_string(size) + " bytes, more than the " + std::to_string(mostBytes) +
			" the host reads";
		return false;
	}
	return true;
}

std::filesystem::path FileBehindLinks(const std::filesystem::path& file)
{
	std::filesystem::path target = file;
	std::error_code error;
	for (int followed = 0; followed < MostLinksFollowed && std::filesystem::is_symlink(target, error); ++followed) {
		const std::filesystem::path next = std::filesystem::read_symlink(target, error);
		if (error)
			break;
		target = next.is_absolute() ? next : target.parent_path() / next;
	}
	return target;
}

} // namespace ReferenceHost

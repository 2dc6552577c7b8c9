#include "FileWriting.hpp"

#include "FileChecks.hpp"

#include <unistd.h>

#include <fstream>
#include <system_error>

namespace ReferenceHost {

bool WriteFileWhole(
	const std::filesystem::path& named, std::string_view text, const std::string& what, std::string& problem)
{
	if (HoldsZeroCharacter(named)) {
		problem = what + " " + named.string() + ": the name holds a zero character";
		return false;
	}
	const std::filesystem::path file = FileBehindLinks(named);
	std::filesystem::path temporary = file;
	temporary += ".saving-" + std::to_string(getpid());
	{
		std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
		stream.write(text.data(), static_cast<std::streamsize>(text.size()));
		stream.close();
		if (!stream) {
			std::error_code ignored;
			std::filesystem::remove(temporary, ignored);
			problem = what + " " + file.string();
			return false;
		}
	}
	std::error_code error;
	std::filesystem::rename(temporary, file, error);
	if (error) {
		std::error_code ignored;
		std::filesystem::remove(temporary, ignored);
		problem = what + " " + file.string() + ": " + error.message();
		return false;
	}
	return true;
}

} // namespace ReferenceHost

// The scratch folder and whole-file helpers.
#include "ScratchFolder.hpp"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

ScratchFolder::ScratchFolder()
{
	static std::atomic<int> counter {0};
	path = std::filesystem::temp_directory_path() /
		("facetally-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
	std::filesystem::remove_all(path);
	std::filesystem::create_directories(path);
}

ScratchFolder::~ScratchFolder()
{
	std::error_code ignored;
	std::filesystem::remove_all(path, ignored);
}

std::string ReadWholeFile(const std::filesystem::path& file)
{
	std::ifstream stream(file, std::ios::binary);
	if (!stream)
		throw std::runtime_error("cannot read " + file.string());
	std::ostringstream contents;
	contents << stream.rdbuf();
	return contents.str();
}

void WriteWholeFile(const std::filesystem::path& file, const std::string& text)
{
	std::ofstream stream(file, std::ios::binary | std::ios::trunc);
	stream << text;
	if (!stream)
		throw std::runtime_error("cannot write " + file.string());
}

// A folder of the test's own under the system's temporary folder, removed with everything in
// it when the test ends.
#pragma once

#include <filesystem>
#include <string>

class ScratchFolder {
public:
	ScratchFolder();
	~ScratchFolder();
	ScratchFolder(const ScratchFolder&) = delete;
	ScratchFolder& operator=(const ScratchFolder&) = delete;

	const std::filesystem::path& Path() const { return path; }
	std::filesystem::path operator/(const std::string& name) const { return path / name; }

private:
	std::filesystem::path path;
};

std::string ReadWholeFile(const std::filesystem::path& file);
void WriteWholeFile(const std::filesystem::path& file, const std::string& text);

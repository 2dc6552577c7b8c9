// The benchmark programs' shared set-up.
#include "BenchHost.hpp"

#include <ctime>
#include <fstream>

namespace Bench {

namespace fs = std::filesystem;

double ThreadSeconds()
{
	timespec now {};
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
	return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

AddOnFolder::AddOnFolder(const std::string& name, const std::string& configurationText)
	: folder(fs::path(FACETALLY_BINARY_DIR) / name)
{
	fs::remove_all(folder);
	fs::create_directories(AddOns());
	fs::copy_file(fs::path(FACETALLY_ADDON_DIR) / "Facetally.addon", Module());
	std::ofstream(AddOns() / "Facetally.txt") << configurationText;
}

AddOnFolder::~AddOnFolder()
{
	std::error_code ignored;
	fs::remove_all(folder, ignored);
}

ReferenceHost::ProjectGeneratorSettings CountingProjectSettings(std::size_t elements)
{
	ReferenceHost::ProjectGeneratorSettings settings;
	settings.elements = elements;
	settings.libraryParts = 20;
	settings.componentsPerElement = 8;
	settings.stories = 5;
	return settings;
}

ReferenceHost::ModuleDataBlock EveryPartDetailed(const ReferenceHost::Project& project)
{
	ReferenceHost::ModuleDataBlock block;
	block.dataVersion = 2;
	block.platformMark = 0x5757;
	for (const ReferenceHost::LibraryPart& part : project.LibraryParts()) {
		block.bytes.insert(block.bytes.end(), part.uniqueId.begin(), part.uniqueId.end());
		block.bytes.push_back(0);
		block.bytes.push_back('0');
		block.bytes.push_back(0);
	}
	return block;
}

} // namespace Bench

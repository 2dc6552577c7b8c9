// What the benchmark programs share: the thread's processor time, a scratch folder with the
// module and its configuration file beside it, and the generated projects the counting
// benchmarks run on.
#pragma once

#include "Project.hpp"
#include "ProjectGenerator.hpp"

#include <cstddef>
#include <filesystem>
#include <string>

namespace Bench {

// The processor time of this thread: the machine's other work does not stretch it, so runs
// are compared fairly on a busy machine.
double ThreadSeconds();

// A folder in the build tree holding an add-ons folder with the module and the given
// configuration file text; removed again with the object.
class AddOnFolder {
public:
	AddOnFolder(const std::string& name, const std::string& configurationText);
	~AddOnFolder();
	AddOnFolder(const AddOnFolder&) = delete;
	AddOnFolder& operator=(const AddOnFolder&) = delete;

	std::filesystem::path AddOns() const { return folder / "addons"; }
	std::filesystem::path Help() const { return folder / "help"; }
	std::filesystem::path Module() const { return AddOns() / "Facetally.addon"; }

private:
	std::filesystem::path folder;
};

// The counting benchmarks' projects: 20 library parts, 8 components per element, 5 stories.
ReferenceHost::ProjectGeneratorSettings CountingProjectSettings(std::size_t elements);

// The module's data in the project: "Detailed" (level 0) wanted for every part.
ReferenceHost::ModuleDataBlock EveryPartDetailed(const ReferenceHost::Project& project);

} // namespace Bench

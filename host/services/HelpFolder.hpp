// The host's special folders as the environment operation names them ('GSPF'): for now the
// help folder, answered as a file location of the file library that the caller releases.
#pragma once

#include "AddOnList.hpp"
#include "HostFunctionTable.hpp"

#include <filesystem>

namespace ReferenceHost {

class HelpFolder {
public:
	HelpFolder(AddOnList& addOns, std::filesystem::path folder);

	// Offers selector 'GSPF' of entry 71.
	void Install(HostFunctionTable& table);

	const std::filesystem::path& Folder() const { return folder; }

private:
	HostStatus AnswerSpecialFolder(ModuleToken token, void* first, void* second);

	AddOnList& addOns;
	std::filesystem::path folder;
};

} // namespace ReferenceHost

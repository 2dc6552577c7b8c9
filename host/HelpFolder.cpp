// The special folder query.
#include "HelpFolder.hpp"

namespace ReferenceHost {

HelpFolder::HelpFolder(AddOnList& addOnList, std::filesystem::path helpFolder)
	: addOns(addOnList), folder(std::move(helpFolder))
{
}

void HelpFolder::Install(HostFunctionTable& /*table*/) {}

HostStatus HelpFolder::AnswerSpecialFolder(ModuleToken /*token*/, void* /*first*/, void* /*second*/)
{
	return HostSdk::StatusRefused;
}

} // namespace ReferenceHost

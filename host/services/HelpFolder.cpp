// The special folder query. The location is published in the file library's table; the
// caller owns the id and releases it.
#include "HelpFolder.hpp"

#include "IO/LocationTable.hpp"

#include <cstdint>

namespace ReferenceHost {

HelpFolder::HelpFolder(AddOnList& addOnList, std::filesystem::path helpFolder)
	: addOns(addOnList), folder(std::move(helpFolder))
{
}

void HelpFolder::Install(HostFunctionTable& table)
{
	table.ImplementSelector(HostSdk::Entry::Environment, HostSdk::Selectors::GetSpecialFolder,
		[this](ModuleToken token, void* first, void* second) { return AnswerSpecialFolder(token, first, second); });
}

HostStatus HelpFolder::AnswerSpecialFolder(ModuleToken token, void* first, void* second)
{
	if (addOns.FromToken(token) == nullptr)
		return HostSdk::StatusRefused;
	if (first == nullptr || second == nullptr)
		return HostSdk::StatusBadParameter;
	auto* answer = static_cast<HostSdk::LocationId*>(second);
	*answer = HostSdk::LocationId {0};
	if (*static_cast<const std::int32_t*>(first) != HostSdk::HelpFolderCode)
		return HostSdk::StatusBadParameter;
	const IO::Location location(folder.string());
	if (location.GetStatus() != IO::Status::Ok)
		return HostSdk::StatusRefused;
	const IO::LocationId id = IO::PublishLocation(location);
	if (id == IO::NoLocation)
		return HostSdk::StatusRefused;
	*answer = id;
	return 0;
}

} // namespace ReferenceHost

// The merge handler installation entry. A null handler removes the add-on's handler.
#include "ModuleDataService.hpp"

namespace ReferenceHost {

ModuleDataService::ModuleDataService(AddOnList& addOnList, Transcript& sessionTranscript)
	: addOns(addOnList), transcript(sessionTranscript)
{
}

void ModuleDataService::Install(HostFunctionTable& table)
{
	table.Implement<HostSdk::Entry::MergeHandlerInstallation>(
		[this](ModuleToken token, HostSdk::ModuleDataMergeHandler handler) { return InstallMergeHandler(token, handler); });
}

HostStatus ModuleDataService::InstallMergeHandler(ModuleToken token, HostSdk::ModuleDataMergeHandler handler)
{
	AddOn* addOn = addOns.FromToken(token);
	if (addOn == nullptr)
		return HostSdk::StatusRefused;
	if (handler == nullptr) {
		mergeHandlers.erase(addOn);
		return 0;
	}
	mergeHandlers[addOn] = handler;
	transcript.Add(TranscriptKind::Detail, addOn->Name() + " installed its module data merge handler");
	return 0;
}

HostSdk::ModuleDataMergeHandler ModuleDataService::MergeHandlerOf(const AddOn& addOn) const
{
	const auto found = mergeHandlers.find(&addOn);
	return found == mergeHandlers.end() ? nullptr : found->second;
}

void ModuleDataService::Forget(const AddOn& addOn) { mergeHandlers.erase(&addOn); }

} // namespace ReferenceHost

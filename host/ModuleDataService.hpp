// The add-ons' module data as the host keeps it. So far only the merge handlers that
// add-ons install (entry 39) are kept; storing, querying and reading module data and the
// merging of two projects' data through these handlers build on them.
#pragma once

#include "AddOnList.hpp"
#include "HostFunctionTable.hpp"
#include "Transcript.hpp"

#include <map>

namespace ReferenceHost {

class ModuleDataService {
public:
	ModuleDataService(AddOnList& addOns, Transcript& transcript);

	// Offers entry 39.
	void Install(HostFunctionTable& table);

	// The merge handler the add-on installed; null when none.
	HostSdk::ModuleDataMergeHandler MergeHandlerOf(const AddOn& addOn) const;

	void Forget(const AddOn& addOn);

private:
	HostStatus InstallMergeHandler(ModuleToken token, HostSdk::ModuleDataMergeHandler handler);

	AddOnList& addOns;
	Transcript& transcript;
	std::map<const AddOn*, HostSdk::ModuleDataMergeHandler> mergeHandlers;
};

} // namespace ReferenceHost

// The add-ons' module data: one block per add-on in the open project, stored, queried and
// read through entries 280 to 282, and merged with another project's blocks through the
// merge handler each add-on installs (entry 39). The project keeps the blocks under the name
// the add-on identified itself with, and its file carries them across save and reopen.
//
// Ownership of the handles: a block the add-on stores stays the add-on's (the host copies
// the bytes during the call); a block the host reads out is a new handle that the add-on
// releases; at a merge the host lends both blocks for the call and takes over the merged
// block the handler hands back.
#pragma once

#include "AddOnList.hpp"
#include "HostFunctionTable.hpp"
#include "Project.hpp"
#include "Transcript.hpp"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ReferenceHost {

// How the merge of one add-on's block went.
struct ModuleDataMergeResult {
	std::string addOnName;
	// The handler's answer; 0 also when there was nothing to merge.
	HostStatus status = 0;
	// The project's block was replaced by the merged one.
	bool merged = false;
	// Why nothing was merged, for the person; empty when merged.
	std::string problem;
};

class ModuleDataService {
public:
	// currentProject answers the open project, null when none is open.
	ModuleDataService(AddOnList& addOns, Transcript& transcript, std::function<Project*()> currentProject);

	// Offers entries 39 and 280 to 282.
	void Install(HostFunctionTable& table);

	// The merge handler the add-on installed; null when none.
	HostSdk::ModuleDataMergeHandler MergeHandlerOf(const AddOn& addOn) const;

	// Merges a block into the open project's block of the loaded add-on of that name, through
	// its merge handler: the project's block is the first record, the given one the second,
	// and the merged block the handler hands back replaces the project's. Nothing changes
	// when the add-on is not loaded, has no handler, answers a failure or hands nothing back.
	ModuleDataMergeResult Merge(const std::string& addOnName, const ModuleDataBlock& incoming);
	// Merges every block of another project, add-on by add-on, in name order.
	std::vector<ModuleDataMergeResult> MergeAll(const Project& other);

	void Forget(const AddOn& addOn);

private:
	HostStatus InstallMergeHandler(ModuleToken token, HostSdk::ModuleDataMergeHandler handler);
	HostStatus Store(ModuleToken token, const HostSdk::ModuleDataRecord* record);
	HostStatus Query(ModuleToken token, HostSdk::ModuleDataRecord* record);
	HostStatus Read(ModuleToken token, HostSdk::ModuleDataRecord* record);
	// The calling add-on's block in the open project; null with the answer for the add-on.
	const ModuleDataBlock* FindBlock(ModuleToken token, HostSdk::ModuleDataRecord* record, HostStatus& answer);

	AddOnList& addOns;
	Transcript& transcript;
	std::function<Project*()> currentProject;
	std::map<const AddOn*, HostSdk::ModuleDataMergeHandler> mergeHandlers;
};

} // namespace ReferenceHost

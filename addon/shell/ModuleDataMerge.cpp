// The module-data merge handler. The merged block goes back to the host through the fourth
// argument: a merge whose result stayed with the module would lose the second project's
// levels. For the same reason the preferences learn what the merge brought: the next save
// writes them over the project's module data.
#include "shell/ModuleDataMerge.hpp"

#include "shell/Preferences.hpp"

#include "VX/Memory.hpp"

namespace {

// A block this module cannot read; a record without a block is merely empty.
bool HoldsForeignBlock(const HostSdk::ModuleDataRecord* record)
{
	return record != nullptr && record->dataHandle != VX::NoHandle && record->dataVersion != ModuleDataVersion;
}

} // namespace

HostSdk::HostStatus ModuleDataMergeHandler(std::int32_t code, const HostSdk::ModuleDataRecord* first,
	const HostSdk::ModuleDataRecord* second, HostSdk::ModuleDataRecord* merged)
{
	if (code != HostSdk::MergeCode)
		return HostSdk::StatusOk;
	if (merged != nullptr)
		merged->dataHandle = VX::NoHandle;
	// Reading a block of another format as this one would merge nonsense into the project.
	if (HoldsForeignBlock(first) || HoldsForeignBlock(second))
		return HostSdk::StatusBadDataVersion;

	HostSdk::ModuleDataRecord result {};
	LevelTable secondTable;
	try {
		const HostSdk::ModuleDataRecord noBlock {};
		LevelTable firstTable;
		FacetallyModuleData::ReadValues(firstTable, first != nullptr ? first : &noBlock);
		FacetallyModuleData::ReadValues(secondTable, second != nullptr ? second : &noBlock);
		// Add keeps an entry that is there: where both know a part, the first one's level wins.
		for (const auto& entry : secondTable.Pairs())
			firstTable.Add(entry.GetKey(), entry.GetValue());
		const HostSdk::HostStatus status = FacetallyModuleData::WriteValues(firstTable, &result);
		if (status != HostSdk::StatusOk)
			return status;
	} catch (...) {
		// Nothing may cross into the host; no half-merged block is handed over.
		VX::FreeHandle(result.dataHandle);
		return HostSdk::StatusRefused;
	}

	if (merged == nullptr) {
		VX::FreeHandle(result.dataHandle);
		return HostSdk::StatusOk;
	}
	merged->dataVersion = ModuleDataVersion;
	merged->platformMark = HostSdk::PlatformMark;
	merged->dataHandle = result.dataHandle;
	try {
		TakeMergedLevels(secondTable);
	} catch (...) {
		// The host has the merged block; the preferences stay as they were.
	}
	return HostSdk::StatusOk;
}

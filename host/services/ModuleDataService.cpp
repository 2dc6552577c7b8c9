// The module data entries and the merge through the add-ons' handlers.
#include "ModuleDataService.hpp"

#include "HostText.hpp"
#include "StatusText.hpp"

#include "VX/Memory.hpp"

#include <cstring>

namespace ReferenceHost {

namespace {

// A new handle holding the block's bytes; 0 when the memory cannot be had.
VX::HandleId HandleOf(const ModuleDataBlock& block)
{
	const VX::HandleId handle = VX::AllocateHandle(block.bytes.size());
	if (handle != VX::NoHandle && !block.bytes.empty())
		std::memcpy(VX::GetHandleData(handle), block.bytes.data(), block.bytes.size());
	return handle;
}

std::vector<std::uint8_t> BytesOf(VX::HandleId handle)
{
	const auto* data = static_cast<const std::uint8_t*>(VX::GetHandleData(handle));
	return std::vector<std::uint8_t>(data, data + VX::GetHandleSize(handle));
}

// A record lending a block for the span of a call; the handle goes with the record.
class LentRecord {
public:
	explicit LentRecord(const ModuleDataBlock* block)
	{
		if (block == nullptr)
			return;
		record.dataVersion = block->dataVersion;
		record.platformMark = block->platformMark;
		record.dataHandle = HandleOf(*block);
	}
	~LentRecord() { VX::FreeHandle(record.dataHandle); }
	LentRecord(const LentRecord&) = delete;
	LentRecord& operator=(const LentRecord&) = delete;

	bool Complete(const ModuleDataBlock* block) const { return block == nullptr || record.dataHandle != VX::NoHandle; }
	const HostSdk::ModuleDataRecord* Record() const { return &record; }

private:
	HostSdk::ModuleDataRecord record {};
};

} // namespace

ModuleDataService::ModuleDataService(
	AddOnList& addOnList, Transcript& sessionTranscript, std::function<Project*()> openProject)
	: addOns(addOnList), transcript(sessionTranscript), currentProject(std::move(openProject))
{
}

void ModuleDataService::Install(HostFunctionTable& table)
{
	table.Implement<HostSdk::Entry::MergeHandlerInstallation>(
		[this](ModuleToken token, HostSdk::ModuleDataMergeHandler handler) {
			return InstallMergeHandler(token, handler);
		});
	table.Implement<HostSdk::Entry::ModuleDataStore>(
		[this](ModuleToken token, const HostSdk::ModuleDataRecord* record) { return Store(token, record); });
	table.Implement<HostSdk::Entry::ModuleDataQuery>(
		[this](ModuleToken token, HostSdk::ModuleDataRecord* record) { return Query(token, record); });
	table.Implement<HostSdk::Entry::ModuleDataRead>(
		[this](ModuleToken token, HostSdk::ModuleDataRecord* record) { return Read(token, record); });
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

HostStatus ModuleDataService::Store(ModuleToken token, const HostSdk::ModuleDataRecord* record)
{
	const AddOn* addOn = addOns.FromToken(token);
	if (addOn == nullptr)
		return HostSdk::StatusRefused;
	if (record == nullptr)
		return HostSdk::StatusBadParameter;
	Project* project = currentProject();
	if (project == nullptr)
		return HostSdk::StatusRefused;
	// No handle stores an empty block; a handle that is not alive is no block at all.
	if (record->dataHandle != VX::NoHandle && VX::GetHandleData(record->dataHandle) == nullptr)
		return HostSdk::StatusBadParameter;
	ModuleDataBlock block;
	block.dataVersion = record->dataVersion;
	block.platformMark = record->platformMark;
	if (record->dataHandle != VX::NoHandle)
		block.bytes = BytesOf(record->dataHandle);
	transcript.Add(TranscriptKind::Detail,
		addOn->Name() + " stored its module data (" + Counted(block.bytes.size(), "byte") + ", data version " +
			std::to_string(block.dataVersion) + ")");
	project->StoreModuleData(addOn->Name(), std::move(block));
	return 0;
}

const ModuleDataBlock* ModuleDataService::FindBlock(
	ModuleToken token, HostSdk::ModuleDataRecord* record, HostStatus& answer)
{
	const AddOn* addOn = addOns.FromToken(token);
	if (addOn == nullptr) {
		answer = HostSdk::StatusRefused;
		return nullptr;
	}
	if (record == nullptr) {
		answer = HostSdk::StatusBadParameter;
		return nullptr;
	}
	const Project* project = currentProject();
	const ModuleDataBlock* block = project != nullptr ? project->FindModuleData(addOn->Name()) : nullptr;
	answer = block != nullptr ? 0 : HostSdk::StatusNoModuleData;
	return block;
}

HostStatus ModuleDataService::Query(ModuleToken token, HostSdk::ModuleDataRecord* record)
{
	HostStatus answer = 0;
	const ModuleDataBlock* block = FindBlock(token, record, answer);
	if (block == nullptr)
		return answer;
	// The query tells what there is; only the read hands out a block.
	record->dataVersion = block->dataVersion;
	record->platformMark = block->platformMark;
	record->dataHandle = VX::NoHandle;
	return 0;
}

HostStatus ModuleDataService::Read(ModuleToken token, HostSdk::ModuleDataRecord* record)
{
	HostStatus answer = 0;
	const ModuleDataBlock* block = FindBlock(token, record, answer);
	if (block == nullptr)
		return answer;
	const VX::HandleId handle = HandleOf(*block);
	if (handle == VX::NoHandle)
		return HostSdk::StatusRefused;
	record->dataVersion = block->dataVersion;
	record->platformMark = block->platformMark;
	record->dataHandle = handle;
	return 0;
}

ModuleDataMergeResult ModuleDataService::Merge(const std::string& addOnName, const ModuleDataBlock& incoming)
{
	ModuleDataMergeResult result;
	result.addOnName = addOnName;
	const auto refuse = [&](std::string why) {
		result.problem = std::move(why);
		transcript.Add(
			TranscriptKind::Notice, "The module data of " + Quoted(addOnName) + " were not merged: " + result.problem);
		return result;
	};
	Project* project = currentProject();
	if (project == nullptr)
		return refuse("no project is open");
	AddOn* addOn = addOns.Find(addOnName);
	if (addOn == nullptr)
		return refuse("the add-on is not loaded");
	const HostSdk::ModuleDataMergeHandler handler = MergeHandlerOf(*addOn);
	if (handler == nullptr)
		return refuse("the add-on installed no merge handler");

	const ModuleDataBlock* own = project->FindModuleData(addOnName);
	const LentRecord first(own);
	const LentRecord second(&incoming);
	if (!first.Complete(own) || !second.Complete(&incoming))
		return refuse("the host is out of memory");
	HostSdk::ModuleDataRecord merged {};
	{
		const AddOnCallStack::Scope call(addOns.Calls(), *addOn);
		result.status = handler(HostSdk::MergeCode, first.Record(), second.Record(), &merged);
	}
	transcript.Add(TranscriptKind::Detail, addOnName + ": merge handler answered " + StatusText(result.status));
	// Whatever the handler handed over is the host's now, also with a failure.
	const bool handedOver = merged.dataHandle != VX::NoHandle && VX::GetHandleData(merged.dataHandle) != nullptr;
	ModuleDataBlock block;
	if (handedOver) {
		block.dataVersion = merged.dataVersion;
		block.platformMark = merged.platformMark;
		block.bytes = BytesOf(merged.dataHandle);
		VX::FreeHandle(merged.dataHandle);
	}
	if (result.status != 0)
		return refuse("the merge handler answered " + StatusText(result.status));
	if (!handedOver)
		return refuse("the merge handler handed no merged block back");

	project->StoreModuleData(addOnName, std::move(block));
	project->MarkModified();
	result.merged = true;
	transcript.Add(TranscriptKind::Notice,
		"The module data of " + Quoted(addOnName) + " were merged (" +
			Counted(project->FindModuleData(addOnName)->bytes.size(), "byte") + ")");
	return result;
}

std::vector<ModuleDataMergeResult> ModuleDataService::MergeAll(const Project& other)
{
	std::vector<ModuleDataMergeResult> results;
	for (const auto& [name, block] : other.AllModuleData())
		results.push_back(Merge(name, block));
	return results;
}

HostSdk::ModuleDataMergeHandler ModuleDataService::MergeHandlerOf(const AddOn& addOn) const
{
	const auto found = mergeHandlers.find(&addOn);
	return found == mergeHandlers.end() ? nullptr : found->second;
}

void ModuleDataService::Forget(const AddOn& addOn)
{
	mergeHandlers.erase(&addOn);
}

} // namespace ReferenceHost

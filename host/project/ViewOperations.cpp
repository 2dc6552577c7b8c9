// What a person looks at, for add-ons: the stories and the current one, the current window,
// and the host's data record that add-ons read and hand back.
#include "HostRecordTexts.hpp"
#include "ProjectOperations.hpp"

#include "VX/Memory.hpp"

#include <cstring>

namespace ReferenceHost {

namespace {

using namespace OperationNames;

// One story in the story record's data handle.
struct StoryEntry {
	std::int16_t index;
	std::int16_t reserved;
	char name[60];
};
static_assert(sizeof(StoryEntry) == 64, "story entries are 64 bytes");

HostStatus GetStoryInfo(ProjectAccess& access, ModuleToken token, void* first)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	auto* record = static_cast<HostSdk::StoryRecord*>(first);
	if (record == nullptr)
		return StatusBadParameter;
	const Stories& stories = project->StoryList();
	const auto count = static_cast<std::size_t>(stories.last - stories.first + 1);
	const VX::HandleId data = VX::AllocateHandle(count * sizeof(StoryEntry));
	if (data == VX::NoHandle)
		return StatusRefused;
	auto* bytes = static_cast<std::uint8_t*>(VX::GetHandleData(data));
	for (std::size_t i = 0; i < count; ++i) {
		StoryEntry entry {};
		entry.index = static_cast<std::int16_t>(stories.first + static_cast<std::int32_t>(i));
		WriteTextField(entry.name, sizeof entry.name, stories.NameOf(entry.index), project->Damage().textsUnterminated);
		std::memcpy(bytes + i * sizeof entry, &entry, sizeof entry);
	}
	HostSdk::StoryRecord filled {};
	filled.firstStory = stories.first;
	filled.lastStory = stories.last;
	filled.activeStory = stories.active;
	filled.noStoryZero = stories.noStoryZero ? 1 : 0;
	filled.dataHandle = data;
	*record = filled;
	return 0;
}

std::string StoryText(const Stories& stories, std::int16_t story)
{
	const std::string name = stories.NameOf(story);
	return "story " + std::to_string(story) + (name.empty() ? "" : " (" + name + ")");
}

HostStatus ChangeStory(ProjectAccess& access, ModuleToken token, void* first)
{
	Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	const auto* change = static_cast<const HostSdk::StoryChangeRecord*>(first);
	if (change == nullptr || change->kind != 0)
		return StatusBadParameter;
	Stories& stories = project->StoryList();
	if (!stories.Contains(change->story))
		return StatusBadIndex;
	stories.active = change->story;
	access.SessionTranscript().Add(
		TranscriptKind::Notice, "The current story is " + StoryText(stories, stories.active));
	return 0;
}

HostStatus GetDataRecord(ProjectAccess& access, ModuleToken token, void* first)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	if (first == nullptr)
		return StatusBadParameter;
	std::memcpy(first, project->DataRecordBytes().data(), sizeof(HostSdk::DataRecord));
	return 0;
}

HostStatus ChangeDataRecord(ProjectAccess& access, ModuleToken token, void* first)
{
	Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	if (first == nullptr)
		return StatusBadParameter;
	std::memcpy(project->DataRecordBytes().data(), first, sizeof(HostSdk::DataRecord));
	return 0;
}

HostStatus GetWindowInfo(ProjectAccess& access, ModuleToken token, void* first)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	auto* record = static_cast<HostSdk::WindowRecord*>(first);
	if (record == nullptr)
		return StatusBadParameter;
	HostSdk::WindowRecord filled {};
	filled.kind = project->WindowKind();
	*record = filled;
	return 0;
}

HostStatus ChangeWindow(ProjectAccess& access, ModuleToken token, void* first)
{
	Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	const auto* record = static_cast<const HostSdk::WindowRecord*>(first);
	if (record == nullptr || record->kind < 1)
		return StatusBadParameter;
	project->SetWindowKind(record->kind);
	access.SessionTranscript().Add(
		TranscriptKind::Notice, "The current window is of kind " + std::to_string(record->kind));
	return 0;
}

} // namespace

void InstallViewOperations(HostFunctionTable& table, ProjectAccess& access)
{
	const auto install = [&](int entry, std::uint32_t selector,
							 HostStatus (*operation)(ProjectAccess&, ModuleToken, void*)) {
		table.ImplementSelector(entry, selector,
			[&access, operation](ModuleToken token, void* first, void*) { return operation(access, token, first); });
	};
	install(Entry::Environment, Selectors::GetStoryInfo, GetStoryInfo);
	install(Entry::Environment, Selectors::ChangeStory, ChangeStory);
	install(Entry::Database, Selectors::GetDataRecord, GetDataRecord);
	install(Entry::Database, Selectors::ChangeDataRecord, ChangeDataRecord);
	install(Entry::Database, Selectors::GetWindowInfo, GetWindowInfo);
	install(Entry::Window, Selectors::ChangeWindow, ChangeWindow);
}

} // namespace ReferenceHost

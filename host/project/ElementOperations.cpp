// Elements for add-ons: how many of a type, the filter test, the element record, the memo
// (an element's parameters, a group's data), and the 3D model: an element's component range
// and each component's polygon count.
#include "ParameterRecords.hpp"
#include "ProjectOperations.hpp"

#include "VX/Memory.hpp"

#include <cstring>

namespace ReferenceHost {

namespace {

using namespace OperationNames;

// An element an add-on may ask about: there, and not deleted.
const Element* LiveElement(const Project& project, std::int32_t type, std::int32_t index)
{
	const Element* element = project.FindElement(type, index);
	return element != nullptr && !element->deleted ? element : nullptr;
}

// The project and the live element an add-on asks about, to be answered into a record of its
// own; or the status that refuses the question.
struct AskedElement {
	const Project* project = nullptr;
	const Element* element = nullptr;
	HostStatus refusal = 0;
};

AskedElement AskAbout(
	ProjectAccess& access, ModuleToken token, std::int32_t type, std::int32_t index, const void* answer)
{
	AskedElement asked;
	asked.project = access.ProjectFor(token);
	if (asked.project == nullptr)
		asked.refusal = StatusRefused;
	else if (answer == nullptr)
		asked.refusal = StatusBadParameter;
	else if ((asked.element = LiveElement(*asked.project, type, index)) == nullptr)
		asked.refusal = StatusBadIndex;
	return asked;
}

HostStatus CountElements(ProjectAccess& access, ModuleToken token, std::int32_t type, std::int32_t* count)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	if (count == nullptr)
		return StatusBadParameter;
	if (type < 0 || type >= ElementTypeCount) {
		*count = 0;
		return StatusBadParameter;
	}
	*count = project->ElementCount(type);
	access.NoteTypeCounted();
	return 0;
}

bool PassesFilter(ProjectAccess& access, ModuleToken token, std::int32_t type, std::int32_t index, std::uint32_t bits)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return false;
	const Element* element = LiveElement(*project, type, index);
	return element != nullptr && (element->FilterBits() & bits) == bits;
}

HostStatus ReadElement(ProjectAccess& access, ModuleToken token, HostSdk::ElementRecord* record)
{
	// The record says which element it asks for, so it is read only once it is there.
	const AskedElement asked =
		AskAbout(access, token, record != nullptr ? record->type : 0, record != nullptr ? record->index : 0, record);
	if (asked.refusal != 0)
		return asked.refusal;
	const Element* element = asked.element;
	HostSdk::ElementRecord filled {};
	filled.type = element->type;
	filled.variation = element->variation;
	filled.index = element->index;
	filled.groupIndex = element->groupIndex;
	filled.storyIndex = element->story;
	if (element->IsGroup()) {
		filled.groupProtected = element->groupProtected ? 1 : 0;
		filled.groupMode = element->groupMode;
	}
	filled.libPartIndex = element->libPartIndex;
	*record = filled;
	access.NoteElementRead({element->type, element->index});
	return 0;
}

HostStatus ReadMemo(
	ProjectAccess& access, ModuleToken token, std::int32_t type, std::int32_t index, HostSdk::ElementMemo* memo)
{
	const AskedElement asked = AskAbout(access, token, type, index, memo);
	if (asked.refusal != 0)
		return asked.refusal;
	const Project* project = asked.project;
	const Element* element = asked.element;
	VX::HandleId parameters = VX::NoHandle;
	if (!element->parameters.empty()) {
		parameters = MakeParameterListHandle(element->parameters, project->Damage());
		if (parameters == VX::NoHandle)
			return StatusRefused;
	}
	VX::HandleId groupData = VX::NoHandle;
	if (element->IsGroup()) {
		// Word 0: the group's own index; word 1: the protection id.
		const std::uint32_t words[2] = {static_cast<std::uint32_t>(element->index), element->protectionId};
		const std::size_t size = project->Damage().groupDataTooShort ? sizeof words[0] : sizeof words;
		groupData = VX::AllocateHandle(size);
		if (groupData == VX::NoHandle) {
			ReleaseParameterListHandle(parameters);
			return StatusRefused;
		}
		std::memcpy(VX::GetHandleData(groupData), words, size);
	}
	memo->parameters = parameters;
	memo->groupData = groupData;
	return 0;
}

HostStatus Read3DInfo(
	ProjectAccess& access, ModuleToken token, std::int32_t type, std::int32_t index, HostSdk::Element3DInfo* info)
{
	const AskedElement asked = AskAbout(access, token, type, index, info);
	if (asked.refusal != 0)
		return asked.refusal;
	access.NoteModelRead(asked.element->Id());
	const ComponentRange range = asked.project->ComponentsOf(*asked.element);
	HostSdk::Element3DInfo filled {};
	filled.firstComponent = range.first;
	filled.lastComponent = range.last;
	*info = filled;
	return 0;
}

// Kind 1 is a component of the 3D model; the host knows no other kind.
constexpr std::int32_t ComponentKindModel = 1;

HostStatus ReadComponent(ProjectAccess& access, ModuleToken token, HostSdk::Component3DRecord* component)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	if (component == nullptr || component->kind != ComponentKindModel)
		return StatusBadParameter;
	const std::optional<std::int32_t> polygons = project->ComponentPolygons(component->index);
	if (!polygons)
		return StatusBadIndex;
	component->polygonCount = *polygons;
	return 0;
}

} // namespace

void InstallElementOperations(HostFunctionTable& table, ProjectAccess& access)
{
	table.Implement<Entry::ElementCount>([&access](ModuleToken token, std::int32_t type, std::int32_t* count) {
		return CountElements(access, token, type, count);
	});
	table.Implement<Entry::ElementFilter>(
		[&access](ModuleToken token, std::int32_t type, std::int32_t index, std::uint32_t bits) {
			return PassesFilter(access, token, type, index, bits);
		});
	table.Implement<Entry::ElementRead>(
		[&access](ModuleToken token, HostSdk::ElementRecord* record) { return ReadElement(access, token, record); });
	table.Implement<Entry::ElementMemoRead>(
		[&access](ModuleToken token, std::int32_t type, std::int32_t index, HostSdk::ElementMemo* memo) {
			return ReadMemo(access, token, type, index, memo);
		});
	table.Implement<Entry::Element3DInfo>(
		[&access](ModuleToken token, std::int32_t type, std::int32_t index, HostSdk::Element3DInfo* info) {
			return Read3DInfo(access, token, type, index, info);
		});
	table.Implement<Entry::Component3DRead>([&access](ModuleToken token, HostSdk::Component3DRecord* component) {
		return ReadComponent(access, token, component);
	});
}

} // namespace ReferenceHost

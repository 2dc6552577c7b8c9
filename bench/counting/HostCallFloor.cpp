// The host calls of a counting run, made straight through the host's function table.
#include "HostCallFloor.hpp"

#include "HostSdk/HostApi.hpp"
#include "IO/LocationTable.hpp"
#include "VX/Memory.hpp"

#include <cstring>
#include <vector>

namespace {

using namespace HostSdk;

class Calls {
public:
	Calls(ReferenceHost::Host& host, const ReferenceHost::AddOn& addOn)
		: slots(host.Table().Slots()), token(addOn.Token())
	{
	}

	template <int EntryNumber>
	EntryFunction<EntryNumber> Entry() const
	{
		return reinterpret_cast<EntryFunction<EntryNumber>>(slots[EntryNumber]);
	}

	HostStatus Selector(int entry, std::uint32_t selector, void* first, void* second) const
	{
		return reinterpret_cast<EntryFunction<Entry::Database>>(slots[entry])(token, selector, first, second);
	}

	const HostFunction* slots;
	ModuleToken token;
};

void ReleaseParameters(HandleId handle)
{
	const std::size_t count = VX::GetHandleSize(handle) / sizeof(ParameterRecord);
	const auto* bytes = static_cast<const unsigned char*>(VX::GetHandleData(handle));
	for (std::size_t i = 0; i < count; ++i) {
		ParameterRecord record;
		std::memcpy(&record, bytes + i * sizeof record, sizeof record);
		if (record.arrayFlag == ParameterArrayValue)
			VX::FreeHandle(record.value.arrayValues);
	}
	VX::FreeHandle(handle);
}

// A part's first sighting: its record, its parameters and, when it has a level-of-detail
// parameter, that parameter's values.
void MeetPart(const Calls& calls, std::int32_t index, bool withLevel)
{
	LibPartRecord part {};
	part.index = index;
	calls.Entry<Entry::LibPartRead>()(calls.token, &part);
	IO::ReleaseLocation(part.location);
	ParameterOwnerRecord owner {};
	owner.libPartIndex = index;
	ParameterListRecord list {};
	if (calls.Selector(Entry::Utilities, Selectors::OpenParameters, &owner, nullptr) == StatusOk &&
		calls.Selector(Entry::Utilities, Selectors::GetParameters, &list, nullptr) == StatusOk)
		ReleaseParameters(list.parameters);
	if (withLevel) {
		ValueListRequest values {};
		std::strcpy(values.name, "detail_level");
		calls.Selector(Entry::Utilities, Selectors::GetParameterValues, &values, nullptr);
		VX::FreeHandle(values.values);
		VX::FreeHandle(values.extra);
	}
	calls.Selector(Entry::Utilities, Selectors::CloseParameters, nullptr, nullptr);
}

} // namespace

std::size_t RunHostCallFloor(
	ReferenceHost::Host& host, const ReferenceHost::AddOn& addOn, const FloorScenario& scenario)
{
	const Calls calls(host, addOn);
	const ReferenceHost::Project& project = *host.CurrentProject();

	DataRecord saved {};
	calls.Selector(Entry::Database, Selectors::GetDataRecord, &saved, nullptr);
	DataRecord changed = saved;
	changed.mode = 1;
	calls.Selector(Entry::Database, Selectors::ChangeDataRecord, &changed, nullptr);

	SelectionRecord selection {};
	calls.Entry<Entry::SelectionRead>()(calls.token, &selection, nullptr, 0);
	VX::FreeHandle(selection.markerHandle);
	StoryRecord stories {};
	calls.Selector(Entry::Environment, Selectors::GetStoryInfo, &stories, nullptr);
	VX::FreeHandle(stories.dataHandle);

	std::int16_t phases = 1;
	calls.Selector(Entry::Interface, Selectors::OpenProgressWindow, const_cast<char*>("Counting..."), &phases);
	calls.Entry<Entry::ProgressText>()(calls.token, "");
	std::int32_t barMaximum = 32767;
	calls.Selector(
		Entry::Interface, Selectors::SetProgressPhase, const_cast<char*>("Processed elements:"), &barMaximum);
	std::int32_t barValue = 0;
	calls.Selector(Entry::Interface, Selectors::SetProgressValue, &barValue, nullptr);

	// The parts are met once each per booking type (stairs apart from other objects).
	std::vector<bool> met(project.LibraryParts().size() + 2, false);
	std::vector<bool> metAsStair(met.size(), false);
	std::vector<bool> withLevel(met.size(), false);
	for (const ReferenceHost::LibraryPart& part : project.LibraryParts())
		if (static_cast<std::size_t>(part.index) < withLevel.size())
			withLevel[static_cast<std::size_t>(part.index)] = !part.modelParameter.empty();

	ElementRecord element {};
	ElementRecord group {};
	Element3DInfo info {};
	Component3DRecord component {};
	std::size_t visited = 0;
	for (std::int32_t type = 1; type <= 17; ++type) {
		if (type > 10 && type != 17)
			continue;
		std::int32_t count = 0;
		if (calls.Entry<Entry::ElementCount>()(calls.token, type, &count) != StatusOk)
			continue;
		for (std::int32_t index = 1; index <= count; ++index) {
			++visited;
			if (!calls.Entry<Entry::ElementFilter>()(calls.token, type, index, FilterVisible))
				continue;
			std::memset(&element, 0, sizeof element);
			element.type = type;
			element.index = index;
			if (calls.Entry<Entry::ElementRead>()(calls.token, &element) != StatusOk)
				continue;
			if (type >= 4 && type <= 7) {
				const auto part = static_cast<std::size_t>(element.libPartIndex);
				std::vector<bool>& metOfType =
					type == ElementTypes::Object && element.variation == StairVariation ? metAsStair : met;
				if (part < metOfType.size() && !metOfType[part]) {
					metOfType[part] = true;
					MeetPart(calls, element.libPartIndex, part < withLevel.size() && withLevel[part]);
				}
				if (scenario.levelsWanted && part < withLevel.size() && withLevel[part]) {
					ParameterOwnerRecord owner {};
					owner.elementType = type;
					owner.elementIndex = index;
					if (calls.Selector(Entry::Utilities, Selectors::OpenParameters, &owner, nullptr) == StatusOk) {
						ParameterListRecord list {};
						if (calls.Selector(Entry::Utilities, Selectors::GetParameters, &list, nullptr) == StatusOk)
							ReleaseParameters(list.parameters);
						calls.Selector(Entry::Utilities, Selectors::CloseParameters, nullptr, nullptr);
					}
				}
				if (element.groupIndex != 0) {
					std::memset(&group, 0, sizeof group);
					group.type = GroupElementType;
					group.index = element.groupIndex;
					if (calls.Entry<Entry::ElementRead>()(calls.token, &group) == StatusOk && group.groupMode == 1 &&
						group.groupProtected != 0) {
						ElementMemo memo {};
						calls.Entry<Entry::ElementMemoRead>()(calls.token, GroupElementType, element.groupIndex, &memo);
						ReleaseParameters(memo.parameters);
						VX::FreeHandle(memo.groupData);
					}
				}
				calls.Entry<Entry::ElementFilter>()(calls.token, type, index, FilterEditable);
			}
			if (calls.Entry<Entry::Element3DInfo>()(calls.token, type, index, &info) != StatusOk)
				continue;
			for (std::int64_t i = info.firstComponent; i <= info.lastComponent; ++i) {
				component.kind = 1;
				component.index = static_cast<std::int32_t>(i);
				calls.Entry<Entry::Component3DRead>()(calls.token, &component);
			}
		}
	}

	calls.Selector(Entry::Interface, Selectors::CloseProgressWindow, nullptr, nullptr);
	calls.Entry<Entry::ProgressEnd>()(calls.token);
	// The report: four lines of head, twelve types, a line per part, one at the end.
	const std::size_t reportLines = 17 + project.LibraryParts().size();
	for (std::size_t line = 0; line < reportLines; ++line)
		calls.Entry<Entry::ReportLine>()(
			calls.token, "    Wall                       (       0) :                0", 0);
	calls.Selector(Entry::Database, Selectors::ChangeDataRecord, &saved, nullptr);
	return visited;
}

// The Select command: the wanted types and parts from the marked rows, the walk over the
// admitted elements, the host's new selection and view.
#include "counting/SelectCountedElements.hpp"

#include "counting/DataRecordOverride.hpp"
#include "counting/ElementList.hpp"
#include "counting/ElementTypes.hpp"
#include "counting/ResultsListRows.hpp"
#include "counting/SelectionBuilder.hpp"
#include "counting/SelectionItemCodes.hpp"
#include "counting/StoryFilter.hpp"
#include "shell/HostCalls.hpp"
#include "shell/Preferences.hpp"

#include "IO/LocationTable.hpp"

#include <array>
#include <cstring>
#include <set>

namespace {

constexpr std::int32_t ElementFilterVisible = 2;

// What the marked rows ask for; kept until the next command.
struct Wanted {
	std::array<bool, ElementTypes::NamedCount> types {};
	std::set<std::int32_t> parts;
};

Wanted& CurrentWanted()
{
	static Wanted wanted;
	return wanted;
}

void WantPart(Wanted& wanted, const LibRow& row)
{
	HostSdk::LibPartRecord record;
	HostSdk::ClearRecord(record);
	std::memcpy(record.uniqueId, row.guid.ToCStr(), row.guid.GetLength() + 1);
	const HostSdk::HostStatus status = HostCalls::SearchLibPart(&record, false);
	// The location is ours whenever the host left one, also in a failed answer.
	if (record.location != IO::NoLocation)
		IO::ReleaseLocation(record.location);
	if (status == HostSdk::StatusOk)
		wanted.parts.insert(record.index);
}

void TakeMarkedRows(Wanted& wanted, const DG::ListBox& list)
{
	for (const int item : list.GetSelectedItems()) {
		if (ResultsListRows::IsLibPartRow(list, item)) {
			if (const LibRow* row = ResultsListRows::RowOf(list, item))
				WantPart(wanted, *row);
		} else {
			// A value that is no booking type marks nothing.
			const std::uintptr_t type = list.GetItemValue(item);
			if (type < wanted.types.size())
				wanted.types[type] = true;
		}
	}
}

bool IsWanted(const Wanted& wanted, const HostSdk::ElementRecord& record)
{
	const std::int32_t type = record.type;
	const bool stair = record.variation == ElementTypes::StairVariationCode;
	if (type >= 0 && type < ElementTypes::NamedCount && wanted.types[static_cast<std::size_t>(type)] && !stair)
		return true;
	if (type == HostSdk::ElementTypes::Object && stair && wanted.types[HostSdk::ElementTypes::Stair])
		return true;
	if (IsLibPartType(type))
		return wanted.parts.contains(record.libPartIndex);
	return false;
}

// Releases the list on every way out of the command.
struct ReleasedElementList : ElementList {
	using ElementList::ElementList;
	~ReleasedElementList() { Release(); }
};

} // namespace

void SelectCountedElements(const DG::ListBox& list, bool selectionOnly, bool allStories, std::int32_t firstStoryNumber,
	std::int32_t lastStoryNumber)
{
	if (list.GetSelectedCount() == 0)
		return;

	// The host's data record is put into the mode the command needs; it stays so.
	static HostSdk::DataRecord dataRecord;
	PutDataRecordInRunMode(dataRecord);

	const ReleasedElementList elements(selectionOnly, false);
	StoryFilter stories(
		allStories, firstStoryNumber, lastStoryNumber, elements.IsMarquee() && GetPreferences().selectionOnly, false);

	SelectionBuilder builder;
	Wanted& wanted = CurrentWanted();
	wanted = Wanted {};
	TakeMarkedRows(wanted, list);

	builder.ReservePending(static_cast<std::size_t>(elements.Size()));
	static HostSdk::ElementRecord record;
	elements.ForEach([&](const ElementRef& element) {
		if (!HostCalls::PassesElementFilter(element.type, element.index, ElementFilterVisible))
			return true;
		HostSdk::ClearRecord(record);
		record.type = element.type;
		record.index = element.index;
		if (HostCalls::ReadElement(&record) != HostSdk::StatusOk)
			return true;
		if (!stories.Test(record.storyIndex) || !IsWanted(wanted, record))
			return true;
		// Host type 33 has no item code: never selected, its story is not noted either.
		const std::optional<SelectionItemCode> code = SelectionItemCodeOf(record.type);
		if (!code)
			return true;
		stories.NoteStory(record.storyIndex);
		builder.AddPending(code->code, code->subField, record.index);
		return true;
	});
	builder.FlushPending();

	stories.GoToNotedStories();
	builder.Apply();
}

// The selection for add-ons: reading it (the record, and when asked the handle of selected
// items), adding or removing items, and turning an item's code into an element type.
#include "ProjectOperations.hpp"

#include "VX/Memory.hpp"

#include <algorithm>
#include <cstring>

namespace ReferenceHost {

namespace {

using namespace OperationNames;

HostSdk::SelectionItem ItemOf(const ElementId& id)
{
	HostSdk::SelectionItem item {};
	const std::optional<SelectionItemCode> code = SelectionItemCodeOf(id.type);
	item.itemCode = code ? code->itemCode : 0;
	item.index = id.index;
	item.subField = code ? code->subField : 0;
	return item;
}

HostStatus ReadSelection(
	ProjectAccess& access, ModuleToken token, HostSdk::SelectionRecord* record, HostSdk::HandleId* items)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	if (record == nullptr)
		return StatusBadParameter;
	const Selection& selection = project->CurrentSelection();
	VX::HandleId marker = VX::NoHandle;
	VX::HandleId itemHandle = VX::NoHandle;
	if (selection.kind > 0) {
		// The marker data: empty in this host, but a handle all the same, as the caller
		// releases one.
		marker = VX::AllocateHandle(0);
		if (marker == VX::NoHandle)
			return StatusRefused;
	}
	if (items != nullptr && !selection.items.empty()) {
		itemHandle = VX::AllocateHandle(selection.items.size() * sizeof(HostSdk::SelectionItem));
		if (itemHandle == VX::NoHandle) {
			VX::FreeHandle(marker);
			return StatusRefused;
		}
		auto* bytes = static_cast<std::uint8_t*>(VX::GetHandleData(itemHandle));
		for (std::size_t i = 0; i < selection.items.size(); ++i) {
			const HostSdk::SelectionItem item = ItemOf(selection.items[i]);
			std::memcpy(bytes + i * sizeof item, &item, sizeof item);
		}
	}
	HostSdk::SelectionRecord filled {};
	filled.kind = selection.kind;
	filled.itemCount = static_cast<std::int32_t>(selection.items.size());
	filled.marqueeAllStories = selection.marqueeAllStories;
	filled.markerHandle = marker;
	*record = filled;
	if (items != nullptr)
		*items = itemHandle;
	return selection.kind == 0 ? HostSdk::StatusEmptySelection : 0;
}

std::string SelectionText(const Selection& selection)
{
	if (selection.kind == 0)
		return "Nothing is selected";
	return "Selected: " + std::to_string(selection.items.size()) + " element" +
		(selection.items.size() == 1 ? "" : "s") +
		(selection.kind >= 2 ? " (marquee of kind " + std::to_string(selection.kind) + ")" : "");
}

HostStatus SelectItems(
	ProjectAccess& access, ModuleToken token, HostSdk::HandleId items, std::int32_t count, std::int32_t add)
{
	Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	if (count < 0)
		return StatusBadParameter;
	if (count == 0)
		return 0;
	const auto* bytes = static_cast<const std::uint8_t*>(VX::GetHandleData(items));
	if (bytes == nullptr || VX::GetHandleSize(items) / sizeof(HostSdk::SelectionItem) < static_cast<std::size_t>(count))
		return StatusBadParameter;
	// Every item is checked before the selection changes.
	std::vector<ElementId> ids;
	for (std::int32_t i = 0; i < count; ++i) {
		HostSdk::SelectionItem item;
		std::memcpy(&item, bytes + static_cast<std::size_t>(i) * sizeof item, sizeof item);
		const std::optional<std::int32_t> type = ElementTypeOfItemCode(item.itemCode);
		if (!type)
			return StatusBadParameter;
		const Element* element = project->FindElement(*type, item.index);
		if (element == nullptr || element->deleted)
			return StatusBadIndex;
		ids.push_back(element->Id());
	}
	Selection& selection = project->CurrentSelection();
	for (const ElementId& id : ids) {
		const auto found = std::find(selection.items.begin(), selection.items.end(), id);
		if (add != 0 && found == selection.items.end())
			selection.items.push_back(id);
		else if (add == 0 && found != selection.items.end())
			selection.items.erase(found);
	}
	if (selection.kind == 0 && !selection.items.empty())
		selection.kind = 1;
	else if (selection.kind == 1 && selection.items.empty())
		selection.kind = 0;
	access.SessionTranscript().Add(TranscriptKind::Notice, SelectionText(selection));
	return 0;
}

HostStatus ItemCodeToType(ProjectAccess& access, ModuleToken token, void* first, void* second)
{
	if (access.ProjectFor(token) == nullptr)
		return StatusRefused;
	const auto* itemCode = static_cast<const std::int32_t*>(first);
	auto* type = static_cast<std::int32_t*>(second);
	if (itemCode == nullptr || type == nullptr)
		return StatusBadParameter;
	const std::optional<std::int32_t> found = ElementTypeOfItemCode(*itemCode);
	if (!found)
		return StatusBadParameter;
	*type = *found;
	return 0;
}

} // namespace

void InstallSelectionOperations(HostFunctionTable& table, ProjectAccess& access)
{
	table.Implement<Entry::SelectionRead>(
		[&access](ModuleToken token, HostSdk::SelectionRecord* record, HostSdk::HandleId* items, std::int32_t) {
			return ReadSelection(access, token, record, items);
		});
	table.Implement<Entry::SelectItems>(
		[&access](ModuleToken token, HostSdk::HandleId items, std::int32_t count, std::int32_t add) {
			return SelectItems(access, token, items, count, add);
		});
	table.ImplementSelector(
		Entry::Utilities, Selectors::ItemCodeToElementType, [&access](ModuleToken token, void* first, void* second) {
			return ItemCodeToType(access, token, first, second);
		});
}

} // namespace ReferenceHost

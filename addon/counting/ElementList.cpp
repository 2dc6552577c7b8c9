// Building the list of elements from the host's selection or from the whole project.
#include "counting/ElementList.hpp"

#include "shell/HostCalls.hpp"

#include "VX/Memory.hpp"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::int32_t LastProjectType = 32;

bool IsCountedProjectType(std::int32_t type)
{
	return type <= HostSdk::ElementTypes::Mesh || type == HostSdk::ElementTypes::Zone;
}

} // namespace

ElementList::ElementList(bool selectionOnly, bool ignoreSelection)
{
	ReadSelection(nullptr);
	if (selection.kind > 0 && selectionOnly && !ignoreSelection) {
		HostSdk::HandleId items = VX::NoHandle;
		ReadSelection(&items);
		TakeSelectedItems(items);
		VX::FreeHandle(items);
	} else {
		TakeWholeProject();
	}
}

void ElementList::ReadSelection(HostSdk::HandleId* items)
{
	// The status is not looked at: a read that fails leaves the cleared record, which is
	// "nothing selected".
	HostSdk::ClearRecord(selection);
	HostCalls::ReadSelection(&selection, items);
	VX::FreeHandle(selection.markerHandle);
	selection.markerHandle = VX::NoHandle;
}

void ElementList::TakeSelectedItems(HostSdk::HandleId items)
{
	const auto* bytes = static_cast<const unsigned char*>(VX::GetHandleData(items));
	// The record's count is believed only as far as the handle really holds items.
	const std::size_t held = bytes != nullptr ? VX::GetHandleSize(items) / sizeof(HostSdk::SelectionItem) : 0;
	const std::size_t claimed = selection.itemCount > 0 ? static_cast<std::size_t>(selection.itemCount) : 0;
	const std::size_t count = std::min(held, claimed);
	selected.reserve(count);
	for (std::size_t position = 0; position < count; ++position) {
		HostSdk::SelectionItem item;
		std::memcpy(&item, bytes + position * sizeof item, sizeof item);
		std::int32_t type = 0;
		if (HostCalls::ItemCodeToElementType(item.itemCode, &type) != HostSdk::StatusOk)
			continue;
		selected.push_back(ElementRef {static_cast<API_ElemTypeID>(type), item.index});
	}
	std::sort(selected.begin(), selected.end());
	selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
}

void ElementList::TakeWholeProject()
{
	for (std::int32_t type = 1; type <= LastProjectType; ++type) {
		if (!IsCountedProjectType(type))
			continue;
		std::int32_t count = 0;
		if (HostCalls::CountElements(type, &count) != HostSdk::StatusOk || count <= 0)
			continue;
		ranges[rangeCount++] = TypeRange {static_cast<API_ElemTypeID>(type), count};
	}
}

bool ElementList::IsMarquee() const
{
	return selection.kind >= 2 && selection.marqueeAllStories == 0;
}

std::uint64_t ElementList::Size() const
{
	std::uint64_t size = selected.size();
	for (std::size_t range = 0; range < rangeCount; ++range)
		size += static_cast<std::uint64_t>(ranges[range].count);
	return size;
}

void ElementList::Release()
{
	std::vector<ElementRef>().swap(selected);
	rangeCount = 0;
}

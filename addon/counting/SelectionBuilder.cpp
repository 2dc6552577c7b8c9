// Building and applying a selection of elements in the host.
#include "counting/SelectionBuilder.hpp"

#include "shell/HostCalls.hpp"

#include "VX/Memory.hpp"

#include <cstring>
#include <limits>

SelectionBuilder::SelectionBuilder() : handle(VX::AllocateHandle(0))
{
}

SelectionBuilder::~SelectionBuilder()
{
	VX::FreeHandle(handle);
}

void SelectionBuilder::ReservePending(std::size_t itemCount)
{
	pending.reserve(itemCount);
}

void SelectionBuilder::AddPending(std::int32_t itemCode, std::int16_t subField, std::int32_t elementIndex)
{
	HostSdk::SelectionItem item;
	std::memset(static_cast<void*>(&item), 0, sizeof item);
	item.itemCode = itemCode;
	item.index = elementIndex;
	item.subField = subField;
	pending.push_back(item);
}

bool SelectionBuilder::FlushPending()
{
	if (pending.empty())
		return true;
	// The host takes the count as a 32-bit number: more items than that cannot be handed over.
	const std::size_t room = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - count);
	if (handle == VX::NoHandle || pending.size() > room)
		return false;
	const std::size_t before = static_cast<std::size_t>(count) * sizeof(HostSdk::SelectionItem);
	const std::size_t added = pending.size() * sizeof(HostSdk::SelectionItem);
	if (!VX::ResizeHandle(handle, before + added))
		return false;
	std::memcpy(static_cast<unsigned char*>(VX::GetHandleData(handle)) + before, pending.data(), added);
	count += static_cast<std::int32_t>(pending.size());
	pending.clear();
	return true;
}

void SelectionBuilder::Apply() const
{
	if (count <= 0)
		return;
	DeselectEverything();
	HostCalls::SelectItems(handle, count, 1);
}

void DeselectEverything()
{
	HostSdk::SelectionRecord record;
	std::memset(static_cast<void*>(&record), 0, sizeof record);
	HostSdk::HandleId items = VX::NoHandle;
	HostSdk::HostStatus status = HostCalls::ReadSelection(&record, &items);
	VX::FreeHandle(record.markerHandle);
	if (status == HostSdk::StatusEmptySelection)
		status = HostSdk::StatusOk;
	if (status == HostSdk::StatusOk && record.kind == 1) {
		// The record's count is believed only as far as the handle really holds items.
		const std::size_t held = VX::GetHandleSize(items) / sizeof(HostSdk::SelectionItem);
		const std::int32_t claimed = record.itemCount > 0 ? record.itemCount : 0;
		const std::int32_t itemCount =
			static_cast<std::size_t>(claimed) > held ? static_cast<std::int32_t>(held) : claimed;
		if (itemCount > 0)
			HostCalls::SelectItems(items, itemCount, 0);
	}
	VX::FreeHandle(items);
}

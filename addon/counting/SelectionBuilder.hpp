// Gathers the host's 16-byte selection items of the elements the Select command takes, in a
// memory handle the host reads, and hands them over as the new selection. Items collect in
// a pending array first and move into the handle in one step, which grows it by 16 bytes per
// item. The handle is the builder's and is released with it, whichever way the command ends.
#pragma once

#include "HostSdk/HostRecords.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

class SelectionBuilder {
public:
	SelectionBuilder();
	~SelectionBuilder();
	SelectionBuilder(const SelectionBuilder&) = delete;
	SelectionBuilder& operator=(const SelectionBuilder&) = delete;

	void ReservePending(std::size_t count);
	void AddPending(std::int32_t itemCode, std::int16_t subField, std::int32_t elementIndex);
	// Moves the pending items to the end of the handle. False, with the pending items kept
	// out of the handle, when the handle cannot grow.
	bool FlushPending();

	std::int32_t Count() const { return count; }
	HostSdk::HandleId Handle() const { return handle; }

	// When items were gathered: deselects everything, then selects exactly them. The host's
	// status is not looked at.
	void Apply() const;

private:
	std::int32_t count = 0;
	HostSdk::HandleId handle;
	std::vector<HostSdk::SelectionItem> pending;
};

// Removes every selected element from the host's selection, when elements are selected (a
// marquee is left alone). The item list the host hands out is released.
void DeselectEverything();

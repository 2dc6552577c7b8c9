// Reading and releasing the parameter lists the host hands out ('GPAR', and the parameters
// of an element memo): a handle of consecutive 568-byte parameter records. The host's answer
// is not trusted: only whole records are read (a handle whose size is not a multiple of the
// record size ends with a piece of a record, which is left alone), every text is bounded by
// its field, and fields are copied out of the handle rather than read in place.
#pragma once

#include "HostSdk/HostRecords.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

// One parameter record as read from a list; its texts point into the list's handle and are
// valid until the list is released.
struct ParameterView {
	std::uint32_t typeCode = 0;
	std::int16_t arrayFlag = 0;
	std::string_view name;
	// The value text of a single-value text parameter (the bytes at 312 of any other record).
	std::string_view text;
	// The array values' handle of an array parameter; none otherwise.
	HostSdk::HandleId arrayValues = 0;

	bool IsSingleText() const
	{
		return arrayFlag == HostSdk::ParameterSingleValue && typeCode == HostSdk::ParameterTypeText;
	}
};

class ParameterList {
public:
	explicit ParameterList(HostSdk::HandleId handle);

	// Whole records in the handle.
	std::size_t Count() const { return count; }
	// The record at position (below Count()).
	ParameterView At(std::size_t position) const;

private:
	const char* records = nullptr;
	std::size_t count = 0;
};

// Cuts a piece of a record at the end of the list's handle off, so that a list handed back to
// the host (in an element memo) holds whole records only. False when the handle is not live.
bool TrimToWholeRecords(HostSdk::HandleId handle);

// Releases what a parameter list holds: the value handle of every whole array record, then
// the list's handle; the handle is set to none. A list of none is left as it is.
void ReleaseParameterList(HostSdk::HandleId& handle);

// Parameter records read out of the host's handle, field by field.
#include "lod/ParameterList.hpp"

#include "counting/RecordText.hpp"

#include "VX/Memory.hpp"

#include <cstddef>
#include <cstring>
#include <utility>

namespace {

using HostSdk::ParameterRecord;

constexpr std::size_t RecordSize = sizeof(ParameterRecord);
constexpr std::size_t ValueTextCapacity = sizeof(std::declval<ParameterRecord&>().value.text);

template <typename Field>
Field ReadField(const char* record, std::size_t offset)
{
	Field value;
	std::memcpy(&value, record + offset, sizeof value);
	return value;
}

} // namespace

ParameterList::ParameterList(HostSdk::HandleId handle)
{
	if (handle == VX::NoHandle)
		return;
	records = static_cast<const char*>(VX::GetHandleData(handle));
	count = records != nullptr ? VX::GetHandleSize(handle) / RecordSize : 0;
}

ParameterView ParameterList::At(std::size_t position) const
{
	ParameterView view;
	if (position >= count)
		return view;
	const char* record = records + position * RecordSize;
	view.typeCode = ReadField<std::uint32_t>(record, offsetof(ParameterRecord, typeCode));
	view.arrayFlag = ReadField<std::int16_t>(record, offsetof(ParameterRecord, arrayFlag));
	view.name = BoundedText(record + offsetof(ParameterRecord, name), sizeof(ParameterRecord::name));
	view.text = BoundedText(record + offsetof(ParameterRecord, value), ValueTextCapacity);
	if (view.arrayFlag == HostSdk::ParameterArrayValue)
		view.arrayValues = ReadField<HostSdk::HandleId>(record, offsetof(ParameterRecord, value));
	return view;
}

bool TrimToWholeRecords(HostSdk::HandleId handle)
{
	if (VX::GetHandleData(handle) == nullptr)
		return false;
	const std::size_t size = VX::GetHandleSize(handle);
	const std::size_t whole = size - size % RecordSize;
	return whole == size || VX::ResizeHandle(handle, whole);
}

void ReleaseParameterList(HostSdk::HandleId& handle)
{
	if (handle == VX::NoHandle)
		return;
	const ParameterList list(handle);
	for (std::size_t position = 0; position < list.Count(); ++position) {
		const ParameterView parameter = list.At(position);
		if (parameter.arrayValues != VX::NoHandle)
			VX::FreeHandle(parameter.arrayValues);
	}
	VX::FreeHandle(handle);
	handle = VX::NoHandle;
}

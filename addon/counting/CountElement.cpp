// One element of a counting run: its library part's row, its level of detail, its lock
// flags and its polygons.
#include "counting/CountElement.hpp"

#include "counting/RecordText.hpp"
#include "counting/SaturatingCount.hpp"
#include "lod/Dlg_ErrorMessage.hpp"
#include "lod/LevelOfDetailChange.hpp"
#include "lod/ParameterList.hpp"
#include "shell/HostCalls.hpp"
#include "shell/ResourceModuleScope.hpp"

#include "VX/Memory.hpp"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::int16_t MissingPartMessage = 134;
constexpr std::int32_t ModelComponentKind = 1;
constexpr std::int32_t ProtectingGroupMode = 1;
// Lock bit 0: the element lies in a group that protects it; bit 1: the host does not let it
// be edited. Each element that is free of one clears that bit of its part's row.
constexpr std::uint32_t GroupLockBit = 1u << 0;
constexpr std::uint32_t EditLockBit = 1u << 1;

// Records the host fills for every element; allocated once, reused by every run.
struct SharedCountingRecords {
	HostSdk::ElementRecord element;
	HostSdk::ElementRecord group;
	HostSdk::ElementMemo groupMemo;
	HostSdk::LibPartRecord libPart;
	HostSdk::Element3DInfo info;
	HostSdk::Component3DRecord component;
};

SharedCountingRecords& Shared()
{
	static SharedCountingRecords records {};
	return records;
}

bool missingPartMessagesOff = false;

bool IsBookingType(std::int32_t type)
{
	return type >= 0 && type < ElementTypes::NamedCount;
}

void TellPartMissing()
{
	if (missingPartMessagesOff)
		return;
	const ResourceModuleScope scope;
	Dlg_ErrorMessage message(MissingPartMessage, true);
	missingPartMessagesOff = message.Invoke();
}

// The first sighting of a part in a run: its row, or the message that it is missing.
void MeetPart(CountResult& result, long partIndex, API_ElemTypeID bookingType)
{
	HostSdk::LibPartRecord& record = Shared().libPart;
	HostSdk::ClearRecord(record);
	record.index = static_cast<std::int32_t>(partIndex);
	const bool read = HostCalls::ReadLibPart(&record) == HostSdk::StatusOk;
	HostCalls::ReleaseLibPartLocation(record);
	char identifier[GuidStr::Capacity];
	// An identifier that fills its whole field has no end: it cannot name the part.
	if (!read || !CopyTextIntoField(identifier, BoundedText(record.uniqueId))) {
		TellPartMissing();
		return;
	}
	LibRow row;
	row.name = VX::String(BoundedText(record.name));
	row.guid.Assign(identifier);
	VX::HashTable<long, LibRow>* rows = result.partRows.GetPtr(bookingType);
	if (rows == nullptr)
		return;
	rows->Add(partIndex, row);
	DetectPartLod(result, partIndex, bookingType);
}

void ReleaseMemo(HostSdk::ElementMemo& memo)
{
	ReleaseParameterList(memo.parameters);
	VX::FreeHandle(memo.groupData);
	memo.groupData = VX::NoHandle;
}

// The second 32-bit word of the group data, when the block holds one.
bool ProtectionWordSet(HostSdk::HandleId groupData)
{
	const auto* block = static_cast<const unsigned char*>(VX::GetHandleData(groupData));
	if (block == nullptr || VX::GetHandleSize(groupData) < 2 * sizeof(std::uint32_t))
		return false;
	std::uint32_t word = 0;
	std::memcpy(&word, block + sizeof(std::uint32_t), sizeof word);
	return word != 0;
}

std::int64_t ModelPolygons(API_ElemTypeID type, std::int32_t index)
{
	SharedCountingRecords& shared = Shared();
	HostSdk::ClearRecord(shared.info);
	if (HostCalls::ReadElement3DInfo(type, index, &shared.info) != HostSdk::StatusOk)
		return 0;
	std::int64_t polygons = 0;
	// 64-bit, so a last component of the largest 32-bit index cannot wrap the walk.
	for (std::int64_t component = shared.info.firstComponent; component <= shared.info.lastComponent; ++component) {
		shared.component.kind = ModelComponentKind;
		shared.component.index = static_cast<std::int32_t>(component);
		if (HostCalls::ReadComponent3D(&shared.component) != HostSdk::StatusOk)
			continue;
		if (shared.component.polygonCount > 0)
			polygons = std::min(polygons + shared.component.polygonCount, LargestCount);
	}
	return polygons;
}

} // namespace

HostSdk::ElementRecord& SharedElementRecord()
{
	return Shared().element;
}

bool MissingPartMessagesOff()
{
	return missingPartMessagesOff;
}

bool InQualifyingGroup(std::int32_t groupIndex)
{
	if (groupIndex == 0)
		return false;
	SharedCountingRecords& shared = Shared();
	HostSdk::ElementRecord& group = shared.group;
	HostSdk::ClearRecord(group);
	group.type = HostSdk::GroupElementType;
	group.index = groupIndex;
	if (HostCalls::ReadElement(&group) != HostSdk::StatusOk)
		return false;
	if (group.groupMode != ProtectingGroupMode || group.groupProtected == 0)
		return false;
	HostSdk::ElementMemo& memo = shared.groupMemo;
	HostSdk::ClearRecord(memo);
	const bool read = HostCalls::ReadElementMemo(HostSdk::GroupElementType, groupIndex, &memo) == HostSdk::StatusOk;
	const bool qualifies = read && ProtectionWordSet(memo.groupData);
	ReleaseMemo(memo);
	return qualifies;
}

std::int32_t CountElement(CountResult& result, HostSdk::ElementRecord& element)
{
	SharedCountingRecords& shared = Shared();
	shared.component.kind = ModelComponentKind;
	// Taken before the level-of-detail change, which hands the record to the host.
	const auto type = static_cast<API_ElemTypeID>(element.type);
	const std::int32_t index = element.index;
	const std::int32_t groupIndex = element.groupIndex;
	const long part = element.libPartIndex;
	const API_ElemTypeID booking = BookingType(type, element.variation);
	if (!IsBookingType(booking))
		return 0;

	LibRow* row = nullptr;
	if (IsLibPartType(type)) {
		VX::HashTable<long, int>* seen = result.seenParts.GetPtr(booking);
		if (seen != nullptr && !seen->ContainsKey(part)) {
			seen->Add(part, 0);
			MeetPart(result, part, booking);
		}
		if (VX::HashTable<long, LibRow>* rows = result.partRows.GetPtr(booking))
			row = rows->GetPtr(part);
		if (row != nullptr) {
			ApplyPartLod(result, booking, type, index, part, element);
			if (!InQualifyingGroup(groupIndex))
				row->lockFlags &= ~GroupLockBit;
			if (HostCalls::PassesElementFilter(type, index, HostSdk::FilterEditable))
				row->lockFlags &= ~EditLockBit;
		}
	}

	const std::int64_t polygons = ModelPolygons(type, index);
	AddSaturating(result.polygonsPerType[static_cast<std::size_t>(booking)], polygons);
	AddSaturating(result.elementsPerType[static_cast<std::size_t>(booking)], 1);
	if (row != nullptr) {
		AddSaturating(row->objects, 1);
		AddSaturating(row->polygons, polygons);
	}
	return SaturatedCount(polygons);
}

// Making and preparing count results, and the process-wide current one.
#include "counting/CountResult.hpp"

#include "shell/HostCalls.hpp"
#include "shell/ModuleState.hpp"

#include "HostSdk/HostRecords.hpp"

#include <cstring>

namespace {

// The host fills this record once per preference entry; it is allocated once and reused.
HostSdk::LibPartRecord& SharedSearchRecord()
{
	static HostSdk::LibPartRecord record {};
	return record;
}

} // namespace

CountResult::CountResult()
	: partRows(0, 0), seenParts(0, 0), lodParamNames(0, 0), partLodWanted(0, 0), lodParamIndex(0, 0),
	  lodValueTexts(0, 0), sortedRows(0, 0)
{
}

void ResetCountResult(CountResult& result, const LevelTable& levelTable)
{
	result.elementsPerType.fill(0);
	result.polygonsPerType.fill(0);

	result.sortedRows.Clear();
	result.partRows.Clear();
	for (const API_ElemTypeID type : ElementTypes::RowBearing)
		result.partRows.Add(type, VX::HashTable<long, LibRow>(0, 0));
	result.seenParts.Clear();
	for (const API_ElemTypeID type : ElementTypes::RowBearing)
		result.seenParts.Add(type, VX::HashTable<long, int>(0, 0));

	result.lodValueTexts.Clear();
	result.lodParamNames.Clear();
	result.lodParamIndex.Clear();
	result.partLodWanted.Clear();

	HostSdk::LibPartRecord& record = SharedSearchRecord();
	for (const auto& entry : levelTable.Pairs()) {
		HostSdk::ClearRecord(record);
		const GuidStr& identifier = entry.GetKey();
		// A GuidStr holds at most 255 characters and its NUL, as the record's field does.
		static_assert(sizeof(record.uniqueId) >= GuidStr::Capacity, "an identifier no longer fits the record's field");
		std::memcpy(record.uniqueId, identifier.ToCStr(), identifier.GetLength() + 1);
		const bool found = HostCalls::SearchLibPart(&record, false) == HostSdk::StatusOk;
		HostCalls::ReleaseLibPartLocation(record);
		if (!found)
			continue;
		result.partLodWanted.Add(record.index, entry.GetValue());
	}
}

CountResult* CurrentCountResult()
{
	return Module().currentCountResult;
}

void SetCurrentCountResult(CountResult* result)
{
	Module().currentCountResult = result;
}

void DestroyCurrentCountResult()
{
	delete Module().currentCountResult;
	Module().currentCountResult = nullptr;
}

void TakeStoredLevel(CountResult& result, const GuidStr& guid, std::int16_t level)
{
	for (auto& rowsOfType : result.partRows.Pairs())
		for (auto& row : rowsOfType.GetValue().Pairs())
			if (row.GetValue().guid == guid)
				row.GetValue().lod = level;
	for (auto& rowsOfType : result.sortedRows.Pairs())
		for (LibRow& row : rowsOfType.GetValue())
			if (row.guid == guid)
				row.lod = level;
}

// The host's data record, saved and overridden for a run.
#include "counting/DataRecordOverride.hpp"

#include "shell/HostCalls.hpp"

namespace {

struct SavedDataRecords {
	HostSdk::DataRecord saved;
	HostSdk::DataRecord changed;
};

SavedDataRecords& Records()
{
	static SavedDataRecords records {};
	return records;
}

} // namespace

bool PutDataRecordInRunMode(HostSdk::DataRecord& saved)
{
	HostSdk::ClearRecord(saved);
	if (HostCalls::GetDataRecord(&saved) != HostSdk::StatusOk)
		return false;
	Records().changed = saved;
	Records().changed.mode = 1;
	HostCalls::ChangeDataRecord(&Records().changed);
	return true;
}

DataRecordOverride::DataRecordOverride() : overridden(PutDataRecordInRunMode(Records().saved))
{
}

DataRecordOverride::~DataRecordOverride()
{
	if (overridden)
		HostCalls::ChangeDataRecord(&Records().saved);
}

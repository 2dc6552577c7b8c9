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

DataRecordOverride::DataRecordOverride()
{
	SavedDataRecords& records = Records();
	HostSdk::ClearRecord(records.saved);
	// A record the host could not give could not be put back: it is then left alone.
	overridden = HostCalls::GetDataRecord(&records.saved) == HostSdk::StatusOk;
	if (!overridden)
		return;
	records.changed = records.saved;
	records.changed.mode = 1;
	HostCalls::ChangeDataRecord(&records.changed);
}

DataRecordOverride::~DataRecordOverride()
{
	if (overridden)
		HostCalls::ChangeDataRecord(&Records().saved);
}

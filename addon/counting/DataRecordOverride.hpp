// For the span of a counting run the host's data record is set to the mode the run needs
// (its first field 1), and handed back as it was when the run ends, finished, cancelled or
// failed. The saved copy is allocated once for the add-on's lifetime. The Select command puts
// the record into the same mode and leaves it so.
#pragma once

#include "HostSdk/HostRecords.hpp"

// Reads the host's record ('GDAT') into saved and hands back a copy with its first field set
// to 1 ('CDAT'); answers whether the host gave the record. A record the host cannot give is
// left alone, since handing one back would overwrite it with zeros; the status of 'CDAT' is
// not looked at.
bool PutDataRecordInRunMode(HostSdk::DataRecord& saved);

class DataRecordOverride {
public:
	// Saves the host's record and puts it into run mode (PutDataRecordInRunMode). A record the
	// host cannot give is left alone, then and at the end.
	DataRecordOverride();
	// Hands the saved record back ('CDAT').
	~DataRecordOverride();
	DataRecordOverride(const DataRecordOverride&) = delete;
	DataRecordOverride& operator=(const DataRecordOverride&) = delete;

private:
	bool overridden = false;
};

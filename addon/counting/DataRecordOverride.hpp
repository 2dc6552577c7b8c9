// For the span of a counting run the host's data record is set to the mode the run needs
// (its first field 1), and handed back as it was when the run ends, finished, cancelled or
// failed. The saved copy is allocated once for the add-on's lifetime.
#pragma once

class DataRecordOverride {
public:
	// Saves the host's record ('GDAT') and hands back a copy with its first field set to 1
	// ('CDAT'). A record the host cannot give is left alone, then and at the end, since it
	// could not be put back as it was; the status of 'CDAT' is not looked at.
	DataRecordOverride();
	// Hands the saved record back ('CDAT').
	~DataRecordOverride();
	DataRecordOverride(const DataRecordOverride&) = delete;
	DataRecordOverride& operator=(const DataRecordOverride&) = delete;

private:
	bool overridden = false;
};

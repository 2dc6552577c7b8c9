// The two functions the host finds by name. Everything else in the module is hidden; these
// alone are marked for export (the module's version script says the same).
#include "shell/EntryPoints.hpp"

#include "shell/ModuleState.hpp"

#include <algorithm>

#define FACETALLY_EXPORT __attribute__((visibility("default")))

extern "C" FACETALLY_EXPORT void GetExportedFuncAddrs(HostSdk::ExportRecord* record)
{
	if (record == nullptr) {
		return;
	}
	// Cleared first, so the reserved words are zero whatever the host left in them.
	HostSdk::ClearRecord(*record);
	record->version = HostSdk::InterfaceVersion;
	record->identifyAddOn = IdentifyAddOn;
	record->registerMenuCommand = RegisterMenuCommand;
	record->initializeAddOn = InitializeAddOn;
	record->releaseAddOn = ReleaseAddOn;
}

extern "C" FACETALLY_EXPORT HostSdk::HostStatus SetImportedFuncAddrs(const HostSdk::HostFunction* table)
{
	// A host that hands over no table has none to offer; the entry points keep refusing.
	if (table == nullptr) {
		return HostSdk::StatusBadParameter;
	}
	ModuleState& state = Module();
	std::copy_n(table, HostSdk::HostFunctionCount, state.hostTable.begin());
	state.tableSet = true;
	return HostSdk::StatusOk;
}

// The module's four entry points, which the host reaches only through the export record,
// and the two exported functions that hand the table and the record over.
#pragma once

#include "HostSdk/HostFunctions.hpp"

HostSdk::HostStatus IdentifyAddOn(HostSdk::EnvironmentRecord* environment);
HostSdk::HostStatus RegisterMenuCommand();
HostSdk::HostStatus InitializeAddOn(HostSdk::ModuleToken token);
HostSdk::HostStatus ReleaseAddOn();

// The module's only exported symbols.
extern "C" {
void GetExportedFuncAddrs(HostSdk::ExportRecord* record);
HostSdk::HostStatus SetImportedFuncAddrs(const HostSdk::HostFunction* table);
}

// The handler the host calls when it merges the module data of two projects.
#pragma once

#include "HostSdk/HostRecords.hpp"

#include <cstdint>

// Installed with the host by InitializeAddOn.
HostSdk::HostStatus ModuleDataMergeHandler(std::int32_t code, const HostSdk::ModuleDataRecord* first,
										   const HostSdk::ModuleDataRecord* second, HostSdk::ModuleDataRecord* merged);

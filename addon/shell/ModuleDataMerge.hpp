// The handler the host calls when it merges the module data of two projects.
#pragma once

#include "HostSdk/HostRecords.hpp"

#include <cstdint>

// Installed with the host by InitializeAddOn. For the merge code, reads both blocks (the
// host keeps them; the first is the open project's), adds to the first every library part
// only the second knows (where both know a part, the first one's level wins; the default
// level is merged like any part) and hands the merged block to the host in *merged, which
// then owns it; the preferences take in the parts the merge brought. With merged null the
// merged block is freed and the preferences stay as they are. Any other code is answered with 0 and nothing done. A block of
// another data version is not merged: 0x81060196, and nothing is handed over.
HostSdk::HostStatus ModuleDataMergeHandler(std::int32_t code, const HostSdk::ModuleDataRecord* first,
	const HostSdk::ModuleDataRecord* second, HostSdk::ModuleDataRecord* merged);

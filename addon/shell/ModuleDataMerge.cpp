// The module-data merge handler. The module data are the stored preferences, and merging
// them comes with the preferences; until then the handler leaves both projects' data as
// they are and hands nothing over.
#include "shell/ModuleDataMerge.hpp"

HostSdk::HostStatus ModuleDataMergeHandler(std::int32_t /*code*/, const HostSdk::ModuleDataRecord* /*first*/,
										   const HostSdk::ModuleDataRecord* /*second*/,
										   HostSdk::ModuleDataRecord* /*merged*/)
{
	return HostSdk::StatusOk;
}

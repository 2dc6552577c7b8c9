// The module file's location, built once from the path read at load.
#include "shell/AddOnLocation.hpp"

#include "shell/ModuleState.hpp"

#include "IO/Location.hpp"

HostSdk::HostStatus AddOnLocation(IO::Location& out)
{
	static const IO::Location moduleLocation(Module().modulePath);
	if (moduleLocation.GetStatus() != IO::Status::Ok) {
		out.Clear();
		return HostSdk::StatusNoModuleLocation;
	}
	out = moduleLocation;
	return HostSdk::StatusOk;
}

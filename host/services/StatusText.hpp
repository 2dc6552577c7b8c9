// How the host writes a status for a person: small values (0, 1) as numbers, error codes as
// the 32-bit hexadecimal codes that add-on writers look up.
#pragma once

#include "HostSdk/HostTypes.hpp"

#include <cstdint>
#include <cstdio>
#include <string>

namespace ReferenceHost {

inline std::string StatusText(HostSdk::HostStatus status)
{
	if (status >= 0 && status < 0x10000)
		return std::to_string(status);
	char text[16];
	std::snprintf(text, sizeof text, "0x%08X", static_cast<std::uint32_t>(status));
	return text;
}

// What a status the host answers means, for a person reading it as a bare number; empty for
// a status the host does not know.
inline std::string StatusName(HostSdk::HostStatus status)
{
	switch (status) {
	case HostSdk::StatusTableNotSet: return "the host table is not set";
	case HostSdk::StatusMissingEntry: return "the host has no such entry";
	case HostSdk::StatusNoModuleLocation: return "no module location";
	case HostSdk::StatusBadDataVersion: return "module data of another version";
	case HostSdk::StatusNoModuleData: return "no module data";
	case HostSdk::StatusEmptySelection: return "nothing selected";
	case HostSdk::StatusRefused: return "refused";
	case HostSdk::StatusBadIndex: return "bad index";
	case HostSdk::StatusBadParameter: return "bad parameter";
	default: break;
	}
	return {};
}

} // namespace ReferenceHost

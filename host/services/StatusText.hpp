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

} // namespace ReferenceHost

// How the host writes a status for a person: 0 as it stands, anything else as the 32-bit
// hexadecimal code that add-on writers look up.
#pragma once

#include "HostSdk/HostTypes.hpp"

#include <cstdint>
#include <cstdio>
#include <string>

namespace ReferenceHost {

inline std::string StatusText(HostSdk::HostStatus status)
{
	if (status == 0)
		return "0";
	char text[16];
	std::snprintf(text, sizeof text, "0x%08X", static_cast<std::uint32_t>(status));
	return text;
}

} // namespace ReferenceHost

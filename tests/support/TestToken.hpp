// The module token the tests hand to the add-on's code when no host hands one out.
#pragma once

#include "HostSdk/HostFunctions.hpp"

inline constexpr HostSdk::ModuleToken TestToken = 0x7E57;

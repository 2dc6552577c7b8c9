// The whole host SDK in one include.
#pragma once

#include "HostSdk/ElementTypes.hpp"
#include "HostSdk/HostFunctions.hpp"
#include "HostSdk/HostRecords.hpp"
#include "HostSdk/HostTypes.hpp"

// The module's answers to the host's callbacks: its menu command and the project events.
// Both catch every exception (none may cross into the host) and always answer 0.
#pragma once

#include "HostSdk/HostRecords.hpp"

#include <cstdint>

// Installed by InitializeAddOn for menu string list 32500: the menu item toggles the palette.
HostSdk::HostStatus MenuCommandHandler(const HostSdk::MenuParams* params);

// Registered for every project event (mask 0xFF) whenever a palette is built.
HostSdk::HostStatus ProjectEventHandler(std::int32_t eventCode, std::int32_t parameter);

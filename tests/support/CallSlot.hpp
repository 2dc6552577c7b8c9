// Calls a slot of a handed-over function table as an add-on would.
#pragma once

#include "HostSdk/HostFunctions.hpp"

template <int EntryNumber, typename... Arguments>
auto CallSlot(const HostSdk::HostFunction* table, Arguments... arguments)
{
	return reinterpret_cast<HostSdk::EntryFunction<EntryNumber>>(table[EntryNumber])(arguments...);
}

// The module-wide state of the loaded add-on: one instance per loaded module, zero or empty
// at load. The shell's entry points and handlers read and write it; nothing else owns it.
#pragma once

#include "HostSdk/HostFunctions.hpp"

#include <array>
#include <cstdint>

class CountResult;
class PalettePlaceholder;

struct ModuleState {
	std::array<HostSdk::HostFunction, HostSdk::HostFunctionCount> hostTable {};
	bool tableSet = false;
	HostSdk::ModuleToken token = 0;
	std::int32_t resourceModuleId = -1;
	void* instanceHandle = nullptr;
	char modulePath[260] = {};
	bool reopenPalette = false;
};

// The one instance of the loaded module.
ModuleState& Module();

// The module-wide state of the loaded add-on: one instance per loaded module, zero or empty
// at load. The shell's entry points and handlers read and write it; nothing else owns it.
// It stays trivially destructible, so the module's own unloading (which runs before or after
// the destruction of other statics, as the loader decides) can always read it.
#pragma once

#include "HostSdk/HostFunctions.hpp"

#include <array>
#include <cstdint>
#include <type_traits>

class CountResult;
class RollDownPalette;

struct ModuleState {
	std::array<HostSdk::HostFunction, HostSdk::HostFunctionCount> hostTable {};
	bool tableSet = false;
	HostSdk::ModuleToken token = 0;
	std::int32_t resourceModuleId = -1;
	// The module's load address, which the platform takes as its instance handle.
	void* instanceHandle = nullptr;
	char modulePath[260] = {};
	// Exists exactly while the palette is open.
	RollDownPalette* palette = nullptr;
	// The result of the last counting run; owned here.
	CountResult* currentCountResult = nullptr;
	// The palette was open when the project closed; the next project opening reopens it.
	bool reopenPalette = false;
};
static_assert(std::is_trivially_destructible_v<ModuleState>, "the state outlives every other static");

// The one instance of the loaded module.
ModuleState& Module();

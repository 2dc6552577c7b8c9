// The placeholder palette and the toggle that opens and closes it.
#include "palette/PalettePlaceholder.hpp"

#include "shell/EventHandlers.hpp"
#include "shell/HostCalls.hpp"
#include "shell/ModuleIdentity.hpp"
#include "shell/ModuleState.hpp"
#include "shell/ResourceModuleScope.hpp"
#include "shell/ShellServices.hpp"

#include <stdexcept>

PalettePlaceholder::PalettePlaceholder()
	: title(LoadResourceString(ModuleIdentity::AddOnInfoStringList, 1))
{
	if (title.empty()) {
		throw std::runtime_error("the palette's title is missing from the module's resources");
	}
	// The host's status is not looked at: a palette without project events still works.
	HostCalls::RegisterProjectEvents(HostSdk::ProjectEvents::AllMask, ProjectEventHandler);
}

void TogglePalette()
{
	ModuleState& state = Module();
	if (state.palette != nullptr) {
		delete state.palette;
		state.palette = nullptr;
		SetPaletteShownMark(false);
		return;
	}
	try {
		const ResourceModuleScope scope;
		state.palette = new PalettePlaceholder();
	} catch (...) {
		// A palette that cannot be built stays closed.
		state.palette = nullptr;
		return;
	}
	SetPaletteShownMark(true);
}

void DestroyPalette()
{
	ModuleState& state = Module();
	delete state.palette;
	state.palette = nullptr;
}

// The menu command and the project events. The palette follows the project: it closes when
// the project closes and comes back with the next project if it was open.
#include "shell/EventHandlers.hpp"

#include "counting/CountResult.hpp"
#include "palette/RollDownPalette.hpp"
#include "shell/HostCalls.hpp"
#include "shell/ModuleIdentity.hpp"
#include "shell/ModuleState.hpp"
#include "shell/Preferences.hpp"

namespace Events = HostSdk::ProjectEvents;

HostSdk::HostStatus MenuCommandHandler(const HostSdk::MenuParams* params)
{
	try {
		if (params != nullptr && params->menuStringListId == ModuleIdentity::MenuStringList) {
			TogglePalette();
		}
	} catch (...) {
		// Nothing may cross into the host; the palette keeps whatever state it reached.
	}
	return HostSdk::StatusOk;
}

HostSdk::HostStatus ProjectEventHandler(std::int32_t eventCode, std::int32_t /*parameter*/)
{
	try {
		ModuleState& state = Module();
		switch (eventCode) {
		case Events::New:
		case Events::Open:
			// Only a closed palette is reopened: toggling an open one would close it.
			if (state.reopenPalette && state.palette == nullptr) {
				TogglePalette();
			}
			break;
		case Events::Quit: HostCalls::RegisterProjectEvents(Events::AllMask, nullptr); break;
		case Events::Save:
		case Events::SaveAs: GetPreferences().WritePreferences(); break;
		case Events::Close:
			DestroyCurrentCountResult();
			GetStoredPreferences().MarkNotLoaded();
			if (state.palette != nullptr) {
				TogglePalette();
				state.reopenPalette = true;
			} else {
				state.reopenPalette = false;
			}
			break;
		default: break;
		}
	} catch (...) {
		// Nothing may cross into the host.
	}
	return HostSdk::StatusOk;
}

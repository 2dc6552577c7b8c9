// The four entry points in the order of their work. Before the host has handed over its
// function table none of them does anything: the module could not reach the host.
#include "shell/EntryPoints.hpp"

#include "palette/RollDownPalette.hpp"
#include "shell/EventHandlers.hpp"
#include "shell/HelpLocation.hpp"
#include "shell/HostCalls.hpp"
#include "shell/ModuleDataMerge.hpp"
#include "shell/ModuleIdentity.hpp"
#include "shell/ModuleState.hpp"
#include "shell/ProjectEventHooks.hpp"
#include "shell/ResourceModuleScope.hpp"

HostSdk::HostStatus IdentifyAddOn(HostSdk::EnvironmentRecord* environment)
{
	if (!Module().tableSet || environment == nullptr) {
		return 0;
	}
	const ResourceModuleScope scope;
	LoadResourceString(ModuleIdentity::AddOnInfoStringList, 1, environment->addOnName);
	LoadResourceString(ModuleIdentity::AddOnInfoStringList, 2, environment->addOnDescription);
	return 1;
}

HostSdk::HostStatus RegisterMenuCommand()
{
	if (!Module().tableSet) {
		return HostSdk::StatusTableNotSet;
	}
	HostSdk::MenuRegistrationRecord record {};
	record.menuStringListId = static_cast<std::uint16_t>(ModuleIdentity::MenuStringList);
	record.promptStringListId = static_cast<std::uint16_t>(ModuleIdentity::PromptStringList);
	record.placement = ModuleIdentity::MenuPlacement;
	record.flags = 0;
	return HostCalls::RegisterMenu(record);
}

HostSdk::HostStatus InitializeAddOn(HostSdk::ModuleToken token)
{
	ModuleState& state = Module();
	if (!state.tableSet) {
		return HostSdk::StatusTableNotSet;
	}
	state.token = token;
	state.palette = nullptr;

	if (const HostSdk::HostStatus status =
			HostCalls::InstallMenuHandler(ModuleIdentity::MenuStringList, MenuCommandHandler);
		status != HostSdk::StatusOk) {
		return status;
	}
	if (const HostSdk::HostStatus status = HostCalls::InstallModuleDataMergeHandler(ModuleDataMergeHandler);
		status != HostSdk::StatusOk) {
		return status;
	}
	// Help is a comfort, not a condition of working: failures are not passed on.
	RegisterHelpLocation();
	return HostSdk::StatusOk;
}

HostSdk::HostStatus ReleaseAddOn()
{
	ModuleState& state = Module();
	if (!state.tableSet) {
		return HostSdk::StatusTableNotSet;
	}
	DestroyCurrentCountResult();
	DestroyPalette();
	UnregisterHelpLocation();
	state.token = 0;
	return HostSdk::StatusOk;
}

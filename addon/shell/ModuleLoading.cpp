// Loading and unloading of the module (process attach and detach), run by the loader as the
// module's ELF constructor and destructor. Loading makes the module's resources known to the
// resource manager without taking the active module from whoever had it; unloading takes
// them away again and notes an add-on that the host never released.
#include "shell/ModuleState.hpp"

#include "VX/DebugOutput.hpp"
#include "VX/ResourceManager.hpp"
#include "Win/Windows.hpp"

namespace {

__attribute__((constructor)) void AttachProcess()
{
	ModuleState& state = Module();
	RegisterWindowMessageA("commdlg_FileNameOK");

	// The loader hands the module no handle of its own: its load address, found from any of
	// its own objects, is the instance handle.
	state.instanceHandle = Win::ModuleFromAddress(&state);
	// A null handle would name the main program: its path and resources are not the module's.
	if (state.instanceHandle == nullptr) {
		return;
	}
	if (GetModuleFileNameA(static_cast<HMODULE>(state.instanceHandle), state.modulePath, sizeof(state.modulePath)) ==
		0) {
		state.modulePath[0] = '\0';
	}
	state.modulePath[sizeof(state.modulePath) - 1] = '\0';

	const VX::ResourceModuleId previouslyActive = RSGetActiveModule();
	state.resourceModuleId = RSAddModule(state.instanceHandle);
	RSSetActiveModule(previouslyActive);
}

__attribute__((destructor)) void DetachProcess()
{
	ModuleState& state = Module();
	if (state.resourceModuleId != VX::NoResourceModule) {
		RSRemoveModule(state.resourceModuleId);
		state.resourceModuleId = VX::NoResourceModule;
	}
	if (state.token != 0) {
		DBPrintf("Abnormal add-on termination (\"%s\")", state.modulePath);
		DBPrintf("\n");
		state.token = 0;
	}
}

} // namespace

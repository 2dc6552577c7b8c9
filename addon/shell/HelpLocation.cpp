// Registering the host's help folder as the module's help location.
#include "shell/HelpLocation.hpp"

#include "shell/HostCalls.hpp"
#include "shell/ModuleIdentity.hpp"

#include "DG/Help.hpp"
#include "IO/Location.hpp"
#include "IO/LocationTable.hpp"

void RegisterHelpLocation()
{
	HostSdk::LocationId folderId = IO::NoLocation;
	HostCalls::GetSpecialFolder(HostSdk::HelpFolderCode, &folderId);
	IO::Location folder;
	// A failed query leaves the location empty; registering it is refused or harmless.
	IO::LookUpLocation(folderId, &folder);
	IO::ReleaseLocation(folderId);
	DG::RegisterAdditionalHelpLocation(ModuleIdentity::DeveloperId, ModuleIdentity::LocalId, folder);
}

void UnregisterHelpLocation()
{
	DG::UnregisterAdditionalHelpLocation(ModuleIdentity::DeveloperId, ModuleIdentity::LocalId);
}

// A small add-on for the host's own tests: it follows the add-on interface as the SDK states
// it (the two exports, the four entry points, the empty-entry rule of its host calls) and
// records everything the host does to it in its control block. Built twice, as
// TestAddOnA.addon and TestAddOnB.addon, so a host can hold two add-ons at once.
#include "TestAddOnControl.hpp"

#include "DG/Panel.hpp"
#include "IO/LocationTable.hpp"
#include "VX/DebugOutput.hpp"
#include "VX/ResourceManager.hpp"
#include "Win/Windows.hpp"

#include <cstring>
#include <string>

#ifndef TEST_ADDON_NAME
#error "TEST_ADDON_NAME names the add-on"
#endif

namespace {

using HostSdk::HostStatus;

TestAddOnControl control;
// The token as a plain value, still readable while the module is taken down.
HostSdk::ModuleToken heldToken = 0;

void Record(std::string call)
{
	control.calls.push_back(std::move(call));
}

// A host call through the copied table: an empty slot answers 0x81060387 without a call.
template <int EntryNumber, typename... Arguments>
HostStatus CallHost(Arguments... arguments)
{
	const HostSdk::HostFunction slot = control.table[EntryNumber];
	if (slot == nullptr)
		return HostSdk::StatusMissingEntry;
	return reinterpret_cast<HostSdk::EntryFunction<EntryNumber>>(slot)(arguments...);
}

HostStatus ToggleCheckMark()
{
	HostSdk::MenuItemRef item {static_cast<std::int16_t>(control.menuStringListId), 1};
	std::uint32_t flags = 0;
	control.lastFlagsAnswer = CallHost<HostSdk::Entry::Interface>(
		control.token, HostSdk::Selectors::GetMenuItemFlags, static_cast<void*>(&item), static_cast<void*>(&flags));
	if (control.lastFlagsAnswer != 0)
		return control.lastFlagsAnswer;
	flags ^= HostSdk::MenuItemCheckedFlag;
	control.lastFlagsAnswer = CallHost<HostSdk::Entry::Interface>(
		control.token, HostSdk::Selectors::SetMenuItemFlags, static_cast<void*>(&item), static_cast<void*>(&flags));
	return control.lastFlagsAnswer;
}

void WriteReport(const std::string& line)
{
	control.lastReportAnswer = CallHost<HostSdk::Entry::ReportLine>(control.token, line.c_str(), std::int32_t {0});
}

// Shows the dialog from the add-on's own resources, as an add-on shows its messages.
void ShowDialog()
{
	const VX::ResourceModuleId active = RSGetActiveModule();
	const VX::ResourceModuleId own = RSAddModule(Win::ModuleFromAddress(reinterpret_cast<const void*>(&ShowDialog)));
	{
		DG::ModalDialog dialog(own, 128);
		control.dialogAnswers.push_back(dialog.Invoke());
	}
	RSRemoveModule(own);
	RSSetActiveModule(active);
}

HostStatus MenuCommand(const HostSdk::MenuParams* params)
{
	Record("MenuCommand " + std::to_string(params->menuStringListId) + " " + std::to_string(params->itemIndex));
	control.menuParams.push_back(*params);
	for (int beep = 0; beep < control.warningBeepsPerMenuCommand; ++beep)
		MessageBeep(MB_ICONEXCLAMATION);
	if (control.showDialogOnMenuCommand)
		ShowDialog();
	if (params->menuStringListId == static_cast<std::int16_t>(control.menuStringListId)) {
		ToggleCheckMark();
		WriteReport(std::string(TEST_ADDON_NAME) + " menu command " + std::to_string(params->itemIndex));
	}
	return control.menuHandlerAnswer;
}

HostStatus ProjectEvent(std::int32_t code, std::int32_t parameter)
{
	Record("ProjectEvent " + std::to_string(code) + " " + std::to_string(parameter));
	control.events.push_back(code);
	if (code == HostSdk::ProjectEvents::Quit && control.deregisterAtQuitEvent)
		CallHost<HostSdk::Entry::EventRegistration>(
			control.token, HostSdk::ProjectEvents::AllMask, HostSdk::ProjectEventHandler {nullptr});
	return 0;
}

HostStatus PaletteControl(std::int32_t referenceId, std::int32_t message, std::int32_t parameter)
{
	Record("PaletteControl " + std::to_string(referenceId) + " " + std::to_string(message) + " " +
		std::to_string(parameter));
	control.paletteMessages.push_back(message);
	return 0;
}

HostStatus MergeModuleData(
	std::int32_t code, const HostSdk::ModuleDataRecord*, const HostSdk::ModuleDataRecord*, HostSdk::ModuleDataRecord*)
{
	Record("MergeModuleData " + std::to_string(code));
	return 0;
}

HostStatus IdentifyAddOn(HostSdk::EnvironmentRecord* environment)
{
	Record("IdentifyAddOn");
	if (!control.tableSet)
		return 0;
	std::strncpy(environment->addOnName, TEST_ADDON_NAME, sizeof environment->addOnName - 1);
	std::strncpy(environment->addOnDescription, "Records what the host does", sizeof environment->addOnDescription - 1);
	return control.identifyAnswer;
}

HostStatus RegisterMenuCommand()
{
	Record("RegisterMenuCommand");
	if (!control.tableSet)
		return HostSdk::StatusTableNotSet;
	HostSdk::MenuRegistrationRecord record {};
	record.menuStringListId = control.menuStringListId;
	record.promptStringListId = control.promptStringListId;
	record.placement = 12;
	control.menuRegistrationAnswer =
		CallHost<HostSdk::Entry::MenuRegistration>(static_cast<const HostSdk::MenuRegistrationRecord*>(&record));
	return control.menuRegistrationAnswer;
}

HostStatus InitializeAddOn(HostSdk::ModuleToken token)
{
	Record("InitializeAddOn " + std::to_string(token));
	if (!control.tableSet)
		return HostSdk::StatusTableNotSet;
	control.token = token;
	heldToken = token;
	if (control.installMenuHandler) {
		control.menuHandlerInstallationAnswer =
			CallHost<HostSdk::Entry::MenuHandlerInstallation>(token, control.handlerStringListId, &MenuCommand);
		if (control.menuHandlerInstallationAnswer != 0)
			return control.menuHandlerInstallationAnswer;
	}
	if (control.installMergeHandler) {
		control.mergeHandlerInstallationAnswer =
			CallHost<HostSdk::Entry::MergeHandlerInstallation>(token, &MergeModuleData);
		if (control.mergeHandlerInstallationAnswer != 0)
			return control.mergeHandlerInstallationAnswer;
	}
	if (control.askHelpFolder) {
		std::int32_t code = HostSdk::HelpFolderCode;
		HostSdk::LocationId folder = 0;
		control.helpFolderAnswer = CallHost<HostSdk::Entry::Environment>(
			token, HostSdk::Selectors::GetSpecialFolder, static_cast<void*>(&code), static_cast<void*>(&folder));
		// The location is the add-on's to release.
		IO::Location location;
		if (IO::LookUpLocation(folder, &location))
			control.helpFolderPath = location.ToPath().ToStd();
		IO::ReleaseLocation(folder);
	}
	if (control.registerEventsAtInitialize)
		CallHost<HostSdk::Entry::EventRegistration>(token, control.eventMask, &ProjectEvent);
	if (control.registerPaletteAtInitialize) {
		HostSdk::PaletteRegistrationRecord record {};
		record.panelId = control.panelId;
		record.callback = &PaletteControl;
		record.flags = 5;
		CallHost<HostSdk::Entry::PaletteRegistration>(
			token, static_cast<const HostSdk::PaletteRegistrationRecord*>(&record));
	}
	return 0;
}

HostStatus ReleaseAddOn()
{
	Record("ReleaseAddOn");
	if (!control.tableSet)
		return HostSdk::StatusTableNotSet;
	if (control.registerPaletteAtInitialize)
		CallHost<HostSdk::Entry::PaletteRemoval>(control.token, control.panelId);
	control.token = 0;
	heldToken = 0;
	return 0;
}

// Unloading: says whether the host released the add-on first.
__attribute__((destructor)) void Unloading()
{
	DBPrintf("%s unloaded with token %u\n", TEST_ADDON_NAME, static_cast<unsigned>(heldToken));
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void GetExportedFuncAddrs(HostSdk::ExportRecord* record)
{
	Record("GetExportedFuncAddrs");
	if (control.clearExportRecord)
		HostSdk::ClearRecord(*record);
	record->version = control.interfaceVersion;
	record->identifyAddOn = &IdentifyAddOn;
	record->registerMenuCommand = &RegisterMenuCommand;
	record->initializeAddOn = &InitializeAddOn;
	record->releaseAddOn = &ReleaseAddOn;
}

__attribute__((visibility("default"))) HostStatus SetImportedFuncAddrs(const HostSdk::HostFunction* table)
{
	Record("SetImportedFuncAddrs");
	std::memcpy(control.table.data(), table, sizeof control.table);
	control.tableSet = true;
	return 0;
}

__attribute__((visibility("default"))) TestAddOnControl* TestAddOnControlBlock()
{
	return &control;
}

} // extern "C"

// The control block of the host's test add-on: what a test sets before the lifecycle and
// what the add-on records of every call the host makes into it. The test add-on exports it
// (besides the two add-on exports) so a test can reach it through dlsym.
#pragma once

#include "HostSdk/HostFunctions.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TestAddOnControl {
	// ---- Set by the test ---------------------------------------------------------------------
	bool clearExportRecord = true; // GetExportedFuncAddrs clears the record first
	std::uint32_t interfaceVersion = HostSdk::InterfaceVersion;
	HostSdk::HostStatus identifyAnswer = 1;
	std::uint16_t menuStringListId = 32500;
	std::uint16_t promptStringListId = 32502;
	bool installMenuHandler = true;
	std::int16_t handlerStringListId = 32500;
	bool installMergeHandler = true;
	bool askHelpFolder = true;
	bool registerEventsAtInitialize = false;
	std::uint32_t eventMask = HostSdk::ProjectEvents::AllMask;
	bool deregisterAtQuitEvent = true; // event 2 ends the registration, as the real module does
	bool registerPaletteAtInitialize = false;
	std::int32_t panelId = 77;
	HostSdk::HostStatus menuHandlerAnswer = 0;
	int warningBeepsPerMenuCommand = 0;
	bool showDialogOnMenuCommand = false; // the modal dialog 128 of its resources

	// ---- Recorded by the add-on ------------------------------------------------------------
	std::vector<std::string> calls; // every call into the add-on, in order
	bool tableSet = false;
	std::array<HostSdk::HostFunction, HostSdk::HostFunctionCount> table {};
	HostSdk::ModuleToken token = 0;
	std::vector<HostSdk::MenuParams> menuParams;
	std::vector<std::int32_t> events;
	std::vector<std::int32_t> paletteMessages;
	HostSdk::HostStatus menuRegistrationAnswer = 0;
	HostSdk::HostStatus menuHandlerInstallationAnswer = 0;
	HostSdk::HostStatus mergeHandlerInstallationAnswer = 0;
	HostSdk::HostStatus helpFolderAnswer = 0;
	std::string helpFolderPath; // where the location the host answered points
	HostSdk::HostStatus lastReportAnswer = 0;
	HostSdk::HostStatus lastFlagsAnswer = 0;
	std::vector<bool> dialogAnswers; // what each shown dialog's Invoke answered
};

extern "C" TestAddOnControl* TestAddOnControlBlock();
inline constexpr const char* TestAddOnControlBlockName = "TestAddOnControlBlock";

// The module's only road to the host: one wrapper per host operation of the function table
// handed over by SetImportedFuncAddrs. Every wrapper checks its slot first: an empty slot
// answers 0x81060387 without a call (the report line answers 0, the element filter test
// false), so an add-on runs on a host that offers less. Every wrapper but the menu
// registration passes the module token first. What each record or parameter holds, and
// who releases what the host leaves in it, is stated in the SDK headers.
#pragma once

#include "HostSdk/HostFunctions.hpp"

#include <cstdint>

namespace HostCalls {

using HostSdk::HostStatus;

// ---- Menus, handlers, palettes ---------------------------------------------------------------

// Entry 10, the one call without the module token.
HostStatus RegisterMenu(const HostSdk::MenuRegistrationRecord& record);
// Entry 31.
HostStatus InstallMenuHandler(std::int16_t menuStringListId, HostSdk::MenuCommandHandler handler);
// Entry 39.
HostStatus InstallModuleDataMergeHandler(HostSdk::ModuleDataMergeHandler handler);
// Entries 53 and 54.
HostStatus RegisterModelessPalette(const HostSdk::PaletteRegistrationRecord& record);
HostStatus RemoveModelessPalette(std::int32_t panelId);
// Entry 250; a null handler ends the subscription.
HostStatus RegisterProjectEvents(std::uint32_t eventMask, HostSdk::ProjectEventHandler handler);

// ---- Progress window (entries 55, 56 and the interface operation) ----------------------------

HostStatus SetProgressText(const char* text);
HostStatus EndProgress();
HostStatus OpenProgressWindow(const char* title, std::int16_t* phaseCount);
HostStatus SetProgressPhase(const char* label, std::int32_t* barMaximum);
// value holds a 16-bit bar position.
HostStatus SetProgressValue(std::int32_t* value);
// Nonzero when the user asked to stop (an empty slot answers 0x81060387, which is nonzero).
HostStatus AskProgressCancelled();
HostStatus CloseProgressWindow();

// ---- Menu item flags (interface operation) ---------------------------------------------------

HostStatus GetMenuItemFlags(HostSdk::MenuItemRef* item, std::uint32_t* flags);
HostStatus SetMenuItemFlags(HostSdk::MenuItemRef* item, std::uint32_t* flags);

// ---- Report window (entry 60) ----------------------------------------------------------------

// The host copies the text. An empty slot answers 0: a missing report window is no failure.
HostStatus WriteReportLine(const char* text, std::int32_t flags);

// ---- Database, environment, window (entries 70, 71, 74) --------------------------------------

HostStatus GetDataRecord(HostSdk::DataRecord* record);
HostStatus ChangeDataRecord(HostSdk::DataRecord* record);
HostStatus GetWindowInfo(HostSdk::WindowRecord* record);
// The caller releases the story record's data handle.
HostStatus GetStoryInfo(HostSdk::StoryRecord* record);
HostStatus ChangeStory(HostSdk::StoryChangeRecord* record);
// The caller releases the location the host leaves in folder.
HostStatus GetSpecialFolder(std::int32_t folderCode, HostSdk::LocationId* folder);
HostStatus ChangeWindow(HostSdk::WindowRecord* record);

// ---- Utilities: item codes and library-part parameters (entry 73) ----------------------------

HostStatus ItemCodeToElementType(std::int32_t itemCode, std::int32_t* elementType);
HostStatus OpenParameters(HostSdk::ParameterOwnerRecord* owner);
HostStatus GetParameters(HostSdk::ParameterListRecord* list);
HostStatus GetParameterValues(HostSdk::ValueListRequest* request);
HostStatus ChangeParameter(HostSdk::ChangeParameterRequest* request);
HostStatus CloseParameters();

// ---- Library parts and elements --------------------------------------------------------------

// Entry 111: finds a library part by the identifier text at offset 120.
HostStatus SearchLibPart(HostSdk::LibPartRecord* record, bool warnings);
// Entry 112: reads a library part by the index at offset 4.
HostStatus ReadLibPart(HostSdk::LibPartRecord* record);
// Releases and clears the file location a search or read left in the record. Called after
// every one, failed ones too: a careless host may leave a location in any answer.
void ReleaseLibPartLocation(HostSdk::LibPartRecord& record);
// Entry 140.
HostStatus CountElements(std::int32_t elementType, std::int32_t* count);
// Entry 142: a truth value, false when the slot is empty.
bool PassesElementFilter(std::int32_t elementType, std::int32_t index, std::uint32_t filterBits);
// Entry 143.
HostStatus ReadElement(HostSdk::ElementRecord* record);
// Entry 144; the caller clears the memo first and releases its handles afterwards.
HostStatus ReadElementMemo(std::int32_t elementType, std::int32_t index, HostSdk::ElementMemo* memo);
// Entry 152.
HostStatus ChangeElement(HostSdk::ElementRecord* element, const HostSdk::ElementRecord* mask,
	const HostSdk::ElementMemo* memo, std::uint32_t memoMask, std::int32_t withDelete);
// Entry 158; add is 1 to add the items to the selection, 0 to remove them.
HostStatus SelectItems(HostSdk::HandleId items, std::int32_t count, std::int32_t add);
// Entry 170.
HostStatus ReadElement3DInfo(std::int32_t elementType, std::int32_t index, HostSdk::Element3DInfo* info);
// Entry 190; items may be null when the list of selected items is not wanted.
HostStatus ReadSelection(HostSdk::SelectionRecord* record, HostSdk::HandleId* items);
// Entry 211.
HostStatus ReadComponent3D(HostSdk::Component3DRecord* component);

// ---- Module data (entries 280 to 282) --------------------------------------------------------

HostStatus StoreModuleData(const HostSdk::ModuleDataRecord* record);
HostStatus QueryModuleData(HostSdk::ModuleDataRecord* record);
HostStatus ReadModuleData(HostSdk::ModuleDataRecord* record);

} // namespace HostCalls

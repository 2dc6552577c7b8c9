// The host function table: 390 pointer-sized slots, fixed by number. An empty slot means
// the host does not offer the operation; an add-on must check before calling. Every
// operation but the menu registration takes the module token first. New operations only
// ever take unused numbers.
#pragma once

#include "HostSdk/HostRecords.hpp"

#include <cstdint>

namespace HostSdk {

// A slot of the table; cast to the entry's own signature before calling.
using HostFunction = void (*)();

namespace Entry {
inline constexpr int MenuRegistration = 10;
inline constexpr int MenuHandlerInstallation = 31;
inline constexpr int MergeHandlerInstallation = 39;
inline constexpr int PaletteRegistration = 53;
inline constexpr int PaletteRemoval = 54;
inline constexpr int ProgressText = 55;
inline constexpr int ProgressEnd = 56;
inline constexpr int ReportLine = 60;
inline constexpr int Database = 70;
inline constexpr int Environment = 71;
inline constexpr int Interface = 72;
inline constexpr int Utilities = 73;
inline constexpr int Window = 74;
inline constexpr int LibPartSearch = 111;
inline constexpr int LibPartRead = 112;
inline constexpr int ElementCount = 140;
inline constexpr int ElementFilter = 142;
inline constexpr int ElementRead = 143;
inline constexpr int ElementMemoRead = 144;
inline constexpr int ElementChange = 152;
inline constexpr int SelectItems = 158;
inline constexpr int Element3DInfo = 170;
inline constexpr int SelectionRead = 190;
inline constexpr int Component3DRead = 211;
inline constexpr int EventRegistration = 250;
inline constexpr int ModuleDataStore = 280;
inline constexpr int ModuleDataQuery = 281;
inline constexpr int ModuleDataRead = 282;
} // namespace Entry

// What the two parameters of each selector point to (null where none is named):
//   GetMenuItemFlags  MenuItemRef*, std::uint32_t* flags (out)
//   SetMenuItemFlags  MenuItemRef*, std::uint32_t* flags (in)
//   OpenProgressWindow  const char* title, std::int16_t* phaseCount
//   SetProgressPhase  const char* label, std::int32_t* barMaximum
//   SetProgressValue  std::int32_t* value (a 16-bit value), null
//   ProgressCancelled  null, null; answers nonzero when the user asked to stop
//   CloseProgressWindow  null, null
//   GetDataRecord / ChangeDataRecord  DataRecord*, null
//   GetWindowInfo / ChangeWindow  WindowRecord*, null
//   GetStoryInfo  StoryRecord*, null (the caller releases its dataHandle)
//   ChangeStory  StoryChangeRecord*, null
//   GetSpecialFolder  const std::int32_t* folderCode, LocationId* folder (the caller releases it)
//   ItemCodeToElementType  const std::int32_t* itemCode, std::int32_t* elementType
//   OpenParameters  ParameterOwnerRecord*, null
//   GetParameters  ParameterListRecord*, null
//   GetParameterValues  ValueListRequest*, null
//   ChangeParameter  ChangeParameterRequest*, null
//   CloseParameters  null, null

// Signature of each entry: EntrySignature<Entry::X>::Type.
template <int EntryNumber>
struct EntrySignature;

#define HOSTSDK_ENTRY(number, ...)                                                                 \
	template <>                                                                                    \
	struct EntrySignature<number> {                                                                \
		using Type = __VA_ARGS__;                                                                  \
	}

// The one entry without a token: the record is read during the call only.
HOSTSDK_ENTRY(Entry::MenuRegistration, HostStatus (*)(const MenuRegistrationRecord* record));
HOSTSDK_ENTRY(Entry::MenuHandlerInstallation,
			  HostStatus (*)(ModuleToken, std::int16_t menuStringListId, MenuCommandHandler handler));
HOSTSDK_ENTRY(Entry::MergeHandlerInstallation, HostStatus (*)(ModuleToken, ModuleDataMergeHandler handler));
// The record is read during the call only.
HOSTSDK_ENTRY(Entry::PaletteRegistration, HostStatus (*)(ModuleToken, const PaletteRegistrationRecord* record));
HOSTSDK_ENTRY(Entry::PaletteRemoval, HostStatus (*)(ModuleToken, std::int32_t panelId));
HOSTSDK_ENTRY(Entry::ProgressText, HostStatus (*)(ModuleToken, const char* text));
HOSTSDK_ENTRY(Entry::ProgressEnd, HostStatus (*)(ModuleToken));
// The text is copied by the host; the second argument is 0.
HOSTSDK_ENTRY(Entry::ReportLine, HostStatus (*)(ModuleToken, const char* text, std::int32_t flags));
// Selector operations: what the two parameters point to is given per selector in HostTypes.
HOSTSDK_ENTRY(Entry::Database, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));
HOSTSDK_ENTRY(Entry::Environment, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));
HOSTSDK_ENTRY(Entry::Interface, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));
HOSTSDK_ENTRY(Entry::Utilities, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));
HOSTSDK_ENTRY(Entry::Window, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));
HOSTSDK_ENTRY(Entry::LibPartSearch, HostStatus (*)(ModuleToken, LibPartRecord* record, bool warnings));
HOSTSDK_ENTRY(Entry::LibPartRead, HostStatus (*)(ModuleToken, LibPartRecord* record));
HOSTSDK_ENTRY(Entry::ElementCount, HostStatus (*)(ModuleToken, std::int32_t type, std::int32_t* count));
// Answers a truth value, not a status.
HOSTSDK_ENTRY(Entry::ElementFilter, bool (*)(ModuleToken, std::int32_t type, std::int32_t index, std::uint32_t filterBits));
HOSTSDK_ENTRY(Entry::ElementRead, HostStatus (*)(ModuleToken, ElementRecord* record));
HOSTSDK_ENTRY(Entry::ElementMemoRead,
			  HostStatus (*)(ModuleToken, std::int32_t type, std::int32_t index, ElementMemo* memo));
// The memo's handles stay the caller's.
HOSTSDK_ENTRY(Entry::ElementChange,
			  HostStatus (*)(ModuleToken, ElementRecord* element, const ElementRecord* mask, const ElementMemo* memo,
							 std::uint32_t memoMask, std::int32_t withDelete));
// The item handle stays the caller's.
HOSTSDK_ENTRY(Entry::SelectItems, HostStatus (*)(ModuleToken, HandleId items, std::int32_t count, std::int32_t add));
HOSTSDK_ENTRY(Entry::Element3DInfo,
			  HostStatus (*)(ModuleToken, std::int32_t type, std::int32_t index, Element3DInfo* info));
// When items is not null the host puts a handle of SelectionItems there, the caller's to release.
HOSTSDK_ENTRY(Entry::SelectionRead,
			  HostStatus (*)(ModuleToken, SelectionRecord* record, HandleId* items, std::int32_t reserved));
HOSTSDK_ENTRY(Entry::Component3DRead, HostStatus (*)(ModuleToken, Component3DRecord* component));
// A null handler removes the registration.
HOSTSDK_ENTRY(Entry::EventRegistration,
			  HostStatus (*)(ModuleToken, std::uint32_t eventMask, ProjectEventHandler handler));
HOSTSDK_ENTRY(Entry::ModuleDataStore, HostStatus (*)(ModuleToken, const ModuleDataRecord* record));
HOSTSDK_ENTRY(Entry::ModuleDataQuery, HostStatus (*)(ModuleToken, ModuleDataRecord* record));
HOSTSDK_ENTRY(Entry::ModuleDataRead, HostStatus (*)(ModuleToken, ModuleDataRecord* record));

#undef HOSTSDK_ENTRY

template <int EntryNumber>
using EntryFunction = typename EntrySignature<EntryNumber>::Type;

// The two functions a module exports by name.
using GetExportedFuncAddrsFunction = void (*)(ExportRecord* record);
using SetImportedFuncAddrsFunction = HostStatus (*)(const HostFunction* table);
inline constexpr const char* GetExportedFuncAddrsName = "GetExportedFuncAddrs";
inline constexpr const char* SetImportedFuncAddrsName = "SetImportedFuncAddrs";

} // namespace HostSdk

// The host function table: 390 pointer-sized slots, fixed by number. An empty slot means
// the host does not offer the operation; an add-on must check before calling. Every
// operation but the menu registration takes the module token first. New operations only
// ever take unused numbers.
//
// What every entry with a token has in common, besides what each states below:
// - StatusRefused for a token the host did not hand out (or of an add-on it unloaded), and
//   for any failure inside the host; nothing the host does ever unwinds into the add-on.
// - The project operations (entries 70, 71 'GSTO' and 'CSTO', 73, 74, 111 to 211) also answer
//   StatusRefused while no project is open, StatusBadParameter for a null record or pointer
//   and StatusBadIndex for an element, part or story that is not there. A failed call
//   changes nothing in the project and leaves nothing allocated.
// - A handle or file location the host leaves behind belongs to the caller, who releases it
//   (VX::FreeHandle, IO::ReleaseLocation) right after use; 0 means none. A careless host may
//   leave one in a failed answer too, so a caller releases any nonzero one whatever the status.
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

// Signature of each entry: EntrySignature<Entry::X>::Type.
template <int EntryNumber>
struct EntrySignature;

#define HOSTSDK_ENTRY(number, ...)                                                                                     \
	template <>                                                                                                        \
	struct EntrySignature<number> {                                                                                    \
		using Type = __VA_ARGS__;                                                                                      \
	}

// ---- Menus, palettes, progress, report ------------------------------------------------------

// No token: the host registers for the add-on it is calling into, so only from inside one of
// its entry points. One menu item per text of the add-on's menu string list (read from its
// resources); item i's status-bar text is text i of the prompt list. The record is read during
// the call only. StatusRefused outside a call into an add-on or for a list registered
// already; StatusBadParameter for a null record, a list id above 0x7FFF or a list the
// add-on's resources lack.
HOSTSDK_ENTRY(Entry::MenuRegistration, HostStatus (*)(const MenuRegistrationRecord* record));
// The host calls the handler with each command of the add-on's menu string list (the list and
// the item, from 1, in MenuParams); a null handler removes it. Answers 0.
HOSTSDK_ENTRY(Entry::MenuHandlerInstallation,
	HostStatus (*)(ModuleToken, std::int16_t menuStringListId, MenuCommandHandler handler));
// One merge handler per add-on (see ModuleDataMergeHandler); a null handler removes it.
// Answers 0.
HOSTSDK_ENTRY(Entry::MergeHandlerInstallation, HostStatus (*)(ModuleToken, ModuleDataMergeHandler handler));
// The host keeps panel id, callback and flags, and calls the callback with the panel id and
// its control messages (PaletteMessageHide, PaletteMessageShow). A panel id registered again
// replaces its record. The record is read during the call only. StatusBadParameter for a null
// record or callback.
HOSTSDK_ENTRY(Entry::PaletteRegistration, HostStatus (*)(ModuleToken, const PaletteRegistrationRecord* record));
// StatusBadIndex when the add-on registered no palette under the id.
HOSTSDK_ENTRY(Entry::PaletteRemoval, HostStatus (*)(ModuleToken, std::int32_t panelId));
// The text under the progress bar, copied by the host. StatusRefused while no progress window
// is open; StatusBadParameter for a null text.
HOSTSDK_ENTRY(Entry::ProgressText, HostStatus (*)(ModuleToken, const char* text));
// Ends the add-on's progress reporting; the window itself closes with CloseProgressWindow.
// Answers 0.
HOSTSDK_ENTRY(Entry::ProgressEnd, HostStatus (*)(ModuleToken));
// One line more in the report window. The host copies the text as it stands (a '%' is no
// format); flags is 0. StatusBadParameter for a null text.
HOSTSDK_ENTRY(Entry::ReportLine, HostStatus (*)(ModuleToken, const char* text, std::int32_t flags));

// ---- Selector operations --------------------------------------------------------------------
// The selector says what the two untyped parameters point to; "null" below means the
// parameter is not read. A selector the host does not know answers StatusBadParameter.

// Database operation:
//   GetDataRecord (DataRecord* out, null): copies the host's data record out.
//   ChangeDataRecord (DataRecord* in, null): copies it back in.
//   GetWindowInfo (WindowRecord* out, null): the current window's kind, the rest zero.
HOSTSDK_ENTRY(Entry::Database, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));
// Environment operation:
//   GetStoryInfo (StoryRecord* out, null): first, last and active story, the no-story-zero
//     byte, and a dataHandle of 64-byte story entries (16-bit index at 0, name from byte 4);
//     the caller releases the handle.
//   ChangeStory (StoryChangeRecord* in, null): kind 0 makes the story current (another kind:
//     StatusBadParameter; a story outside the list: StatusBadIndex).
//   GetSpecialFolder (const std::int32_t* folderCode, LocationId* folder out): for
//     HelpFolderCode, the folder's location, which the caller releases; needs no project.
//     Another code answers StatusBadParameter with *folder 0.
HOSTSDK_ENTRY(Entry::Environment, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));
// Interface operation; none of these needs a project:
//   GetMenuItemFlags (const MenuItemRef*, std::uint32_t* flags out) and SetMenuItemFlags
//     (const MenuItemRef*, const std::uint32_t* flags in): one of the add-on's own items;
//     MenuItemCheckedFlag is the check mark. StatusBadParameter for a null pointer,
//     StatusBadIndex for an item the add-on did not register.
//   OpenProgressWindow (const char* title, const std::int16_t* phaseCount, null for 1): opens
//     the window, replacing an open one. StatusBadParameter for a null title.
//   SetProgressPhase (const char* label, const std::int32_t* barMaximum, at least 0) and
//   SetProgressValue (const std::int32_t* value holding a 16-bit bar position, null):
//     StatusRefused while no window is open, StatusBadParameter for a null pointer or a
//     negative maximum.
//   ProgressCancelled (null, null): 1 when the person asked to stop, else 0; any other answer
//     is a failure.
//   CloseProgressWindow (null, null): StatusRefused when no window is open.
HOSTSDK_ENTRY(Entry::Interface, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));
// Utilities operation:
//   ItemCodeToElementType (const std::int32_t* itemCode, std::int32_t* elementType out):
//     StatusBadParameter for a code of no element type.
//   OpenParameters (const ParameterOwnerRecord*, null): opens a working copy of the
//     parameters of a library part, or of a placed window, door, object or lamp
//     (StatusBadParameter for an element of another type); it replaces the add-on's open one
//     and lasts until CloseParameters or the end of the project.
//   GetParameters (ParameterListRecord* out, null): a handle of the working copy's
//     ParameterRecords in `parameters`; the caller releases it and every array handle in it.
//     StatusRefused while no working copy is open.
//   GetParameterValues (ValueListRequest* in/out, null): the caller writes the name; the host
//     fills count, values and extra, which the caller releases (count 0 and no handles on
//     failure). A careless host's count may claim more texts than the handle holds.
//     StatusBadParameter for a parameter of no such name, StatusRefused while nothing is open.
//   ChangeParameter (const ChangeParameterRequest*, null): sets a single value of the working
//     copy, not of the element (see ElementChange); a number is given as its text.
//     StatusBadParameter for a null text, an unknown or array parameter, a text of 256 bytes
//     or more or a text that is no number; StatusRefused while nothing is open.
//   CloseParameters (null, null): closes the working copy; 0 also when none is open, and
//     with no project.
HOSTSDK_ENTRY(Entry::Utilities, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));
// Window operation:
//   ChangeWindow (const WindowRecord*, null): makes the record's kind (1 or more) the current
//     window; StatusBadParameter for a kind below 1.
HOSTSDK_ENTRY(Entry::Window, HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second));

// ---- Library parts ---------------------------------------------------------------------------

// The caller clears the record and writes the identifier text at uniqueId (read to the field's
// end at most). Found: the host fills typeId, index, name and uniqueId and leaves the part's
// file location, which the caller releases. StatusBadIndex for a part that is not in the
// loaded libraries (with warnings on, the host also tells the person).
HOSTSDK_ENTRY(Entry::LibPartSearch, HostStatus (*)(ModuleToken, LibPartRecord* record, bool warnings));
// As the search, by the index the caller writes into a cleared record.
HOSTSDK_ENTRY(Entry::LibPartRead, HostStatus (*)(ModuleToken, LibPartRecord* record));

// ---- Elements --------------------------------------------------------------------------------

// How many elements of the type there have been: indexes run from 1 to *count and never move,
// so deleted ones count too. StatusBadParameter for a null count or a type outside the
// element types (*count 0).
HOSTSDK_ENTRY(Entry::ElementCount, HostStatus (*)(ModuleToken, std::int32_t type, std::int32_t* count));
// A truth value, not a status: true when the element is there, not deleted, and holds every
// bit of filterBits (FilterVisible, FilterEditable); false on any failure.
HOSTSDK_ENTRY(
	Entry::ElementFilter, bool (*)(ModuleToken, std::int32_t type, std::int32_t index, std::uint32_t filterBits));
// The caller writes type and index into a cleared record; the host fills the fields
// ElementRecord names and zeroes the rest. StatusBadIndex for a deleted element too.
HOSTSDK_ENTRY(Entry::ElementRead, HostStatus (*)(ModuleToken, ElementRecord* record));
// Into a cleared memo the host puts the element's parameters (placed parts) and a group's
// data (groups); the caller releases each nonzero handle.
HOSTSDK_ENTRY(
	Entry::ElementMemoRead, HostStatus (*)(ModuleToken, std::int32_t type, std::int32_t index, ElementMemo* memo));
// The element named by element's type and index takes the memo's parts chosen by memoMask:
// with MemoMaskParameters, the values of memo->parameters (names, type codes and shapes must
// match the element's); without it, or without a memo, nothing changes. mask may be null;
// callers pass withDelete 1. The memo's handles stay the caller's. StatusRefused for an
// element the host does not let change; StatusBadParameter for a list that does not match.
HOSTSDK_ENTRY(Entry::ElementChange,
	HostStatus (*)(ModuleToken, ElementRecord* element, const ElementRecord* mask, const ElementMemo* memo,
		std::uint32_t memoMask, std::int32_t withDelete));
// Adds (add nonzero) or removes (add 0) the first count SelectionItems of the handle; every
// item is checked before the selection changes. The handle stays the caller's.
// StatusBadParameter for a negative count, a handle holding fewer items or an unknown item
// code; StatusBadIndex for an item of no element.
HOSTSDK_ENTRY(Entry::SelectItems, HostStatus (*)(ModuleToken, HandleId items, std::int32_t count, std::int32_t add));
// The element's 3D components run from firstComponent to lastComponent; first > last is none.
HOSTSDK_ENTRY(
	Entry::Element3DInfo, HostStatus (*)(ModuleToken, std::int32_t type, std::int32_t index, Element3DInfo* info));
// Fills kind, itemCount, the marquee byte and markerHandle, which the caller releases. When
// items is not null the host puts a handle of itemCount SelectionItems there (0 when nothing
// is selected), the caller's to release too. reserved is 0. Answers StatusEmptySelection,
// with the record filled, when nothing is selected: callers take it as success.
HOSTSDK_ENTRY(
	Entry::SelectionRead, HostStatus (*)(ModuleToken, SelectionRecord* record, HandleId* items, std::int32_t reserved));
// The caller sets kind 1 and the component's index; the host fills polygonCount.
// StatusBadParameter for another kind, StatusBadIndex for a component of no model.
HOSTSDK_ENTRY(Entry::Component3DRead, HostStatus (*)(ModuleToken, Component3DRecord* component));

// ---- Project events and module data ----------------------------------------------------------

// The handler gets (code, 0) for every project event whose bit is in eventMask; a new
// registration replaces the add-on's earlier one, a null handler ends it. Answers 0.
HOSTSDK_ENTRY(
	Entry::EventRegistration, HostStatus (*)(ModuleToken, std::uint32_t eventMask, ProjectEventHandler handler));
// Stores the bytes of the record's data handle (all of them; handle 0 stores an empty block)
// with the data version and platform mark as the add-on's block of the open project. The
// handle stays the add-on's. StatusRefused while no project is open; StatusBadParameter for a
// null record or a handle that is not alive.
HOSTSDK_ENTRY(Entry::ModuleDataStore, HostStatus (*)(ModuleToken, const ModuleDataRecord* record));
// Fills the data version and platform mark of the add-on's block and leaves the data handle
// 0. StatusNoModuleData when the project (or no project) holds no block of the add-on;
// StatusBadParameter for a null record.
HOSTSDK_ENTRY(Entry::ModuleDataQuery, HostStatus (*)(ModuleToken, ModuleDataRecord* record));
// As the query, and a new handle holding the block in the data handle, which the caller
// releases.
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

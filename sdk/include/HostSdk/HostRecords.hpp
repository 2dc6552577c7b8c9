// Records exchanged between the host and an add-on. Every 8-, 16- and 32-bit field and every
// text sits at the byte offset of the 32-bit interface; handles and file locations are 32-bit
// ids, so those offsets hold on 64 bits too. Code pointers and the one data pointer (the new
// value text of ChangeRequest) are pointer-sized; their 64-bit places are stated per record.
// Unless a record says otherwise, the caller clears it, the host fills it, and any handle or
// location the host leaves in it belongs to the caller, who releases it right after use.
#pragma once

#include "HostSdk/HostTypes.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace HostSdk {

// Zeroes every byte of a record, padding and reserved fields included: a host may read any
// of them, and value-initialising a record does not promise zero padding after a copy.
template <typename Record>
void ClearRecord(Record& record)
{
	static_assert(std::is_trivially_copyable_v<Record>, "only plain host records may be cleared byte by byte");
	std::memset(static_cast<void*>(&record), 0, sizeof record);
}

// ---- Add-on lifecycle ---------------------------------------------------------------------

struct EnvironmentRecord; // below
struct MenuParams;

using IdentifyAddOnFunction = HostStatus (*)(EnvironmentRecord* environment);
using RegisterMenuCommandFunction = HostStatus (*)();
using InitializeAddOnFunction = HostStatus (*)(ModuleToken token);
using ReleaseAddOnFunction = HostStatus (*)();

// Filled by the add-on's GetExportedFuncAddrs. The add-on clears the whole record first; the
// reserved words stay zero. (The 32-bit interface had 15 words: version, four entry points,
// ten reserved; here the entry points are pointer-sized and start at byte 8.)
struct ExportRecord {
	std::uint32_t version; // InterfaceVersion
	std::uint32_t padding;
	IdentifyAddOnFunction identifyAddOn;
	RegisterMenuCommandFunction registerMenuCommand;
	InitializeAddOnFunction initializeAddOn;
	ReleaseAddOnFunction releaseAddOn;
	std::uint32_t reserved[10]; // words 5 to 14 of the 32-bit record
};
static_assert(offsetof(ExportRecord, version) == 0, "ExportRecord::version must sit at byte 0");
static_assert(offsetof(ExportRecord, identifyAddOn) == 8, "ExportRecord::identifyAddOn must sit at byte 8");
static_assert(offsetof(ExportRecord, releaseAddOn) == 32, "ExportRecord::releaseAddOn must sit at byte 32");
static_assert(offsetof(ExportRecord, reserved) == 40, "ExportRecord::reserved must sit at byte 40");
static_assert(sizeof(ExportRecord) == 80, "ExportRecord must be 80 bytes, the size the host uses");

// Handed to IdentifyAddOn; the add-on writes its name and description. The host owns it.
struct EnvironmentRecord {
	std::uint8_t hostData[128]; // host's own fields, not touched by the add-on
	char addOnName[256];        // byte 128
	char addOnDescription[256]; // byte 384
};
static_assert(offsetof(EnvironmentRecord, addOnName) == 128, "EnvironmentRecord::addOnName must sit at byte 128");
static_assert(
	offsetof(EnvironmentRecord, addOnDescription) == 384, "EnvironmentRecord::addOnDescription must sit at byte 384");
static_assert(sizeof(EnvironmentRecord) == 640, "EnvironmentRecord must be 640 bytes, the size the host uses");

// Entry 10, passed without token: one menu command of the add-on.
struct MenuRegistrationRecord {
	std::uint16_t menuStringListId;   // menu text string list
	std::uint16_t promptStringListId; // prompt texts string list
	std::uint32_t placement;          // where the host puts the item
	std::uint32_t flags;
	std::uint8_t reserved[20]; // zero
};
static_assert(offsetof(MenuRegistrationRecord, promptStringListId) == 2,
	"MenuRegistrationRecord::promptStringListId must sit at byte 2");
static_assert(offsetof(MenuRegistrationRecord, placement) == 4, "MenuRegistrationRecord::placement must sit at byte 4");
static_assert(offsetof(MenuRegistrationRecord, flags) == 8, "MenuRegistrationRecord::flags must sit at byte 8");
static_assert(sizeof(MenuRegistrationRecord) == 32, "MenuRegistrationRecord must be 32 bytes, the size the host uses");

// Passed by the host to a menu handler; read only.
struct MenuParams {
	std::int16_t menuStringListId; // which registered menu the command came from
	std::int16_t itemIndex;        // item within that list, from 1
	std::uint32_t reserved[3];
};
static_assert(offsetof(MenuParams, itemIndex) == 2, "MenuParams::itemIndex must sit at byte 2");
static_assert(sizeof(MenuParams) == 16, "MenuParams must be 16 bytes, the size the host uses");

using MenuCommandHandler = HostStatus (*)(const MenuParams* params);

// Menu item flag bit that shows the check mark.
inline constexpr std::uint32_t MenuItemCheckedFlag = 0x2;

// Interface operation GetMenuItemFlags / SetMenuItemFlags: first parameter points to this,
// second to a std::uint32_t with the flags.
struct MenuItemRef {
	std::int16_t menuStringListId;
	std::int16_t itemIndex;
};
static_assert(sizeof(MenuItemRef) == 4, "MenuItemRef must be 4 bytes, the size the host uses");

// Project events (entry 250); the handler gets the event code and a parameter (0 so far).
using ProjectEventHandler = HostStatus (*)(std::int32_t eventCode, std::int32_t parameter);

// ---- Module data (entries 280 to 282, merge handler entry 39) --------------------------------

// 56-byte record, cleared before use. Store: the add-on fills it and keeps ownership of the
// data handle. Query/read: the host fills it and the data handle belongs to the add-on.
struct ModuleDataRecord {
	std::uint32_t dataVersion;  // 0
	std::uint16_t platformMark; // 4
	std::uint16_t padding;
	HandleId dataHandle; // 8: the data block; its length is the handle's size
	std::uint8_t reserved[44];
};
static_assert(offsetof(ModuleDataRecord, platformMark) == 4, "ModuleDataRecord::platformMark must sit at byte 4");
static_assert(offsetof(ModuleDataRecord, dataHandle) == 8, "ModuleDataRecord::dataHandle must sit at byte 8");
static_assert(sizeof(ModuleDataRecord) == 56, "ModuleDataRecord must be 56 bytes, the size the host uses");

inline constexpr std::uint16_t PlatformMark = 0x5757;

// Merge handler: code MergeCode; the first record holds the block of the open project (the
// one merged into), the second the other project's block (the host keeps ownership of both;
// a record without a block has data handle 0). The handler puts the merged block's handle into
// *merged (ownership passes to the host); merged may be null, then nothing is handed over.
using ModuleDataMergeHandler = HostStatus (*)(
	std::int32_t code, const ModuleDataRecord* first, const ModuleDataRecord* second, ModuleDataRecord* merged);

// ---- Palettes (entries 53, 54) ---------------------------------------------------------------

using PaletteControlCallback = HostStatus (*)(std::int32_t referenceId, std::int32_t message, std::int32_t parameter);

inline constexpr std::int32_t PaletteMessageHide = 2;
inline constexpr std::int32_t PaletteMessageShow = 3;

// 68 bytes on the 32-bit interface; the callback is pointer-sized here, at byte 8.
struct PaletteRegistrationRecord {
	std::int32_t panelId; // 0
	std::uint32_t padding;
	PaletteControlCallback callback; // 8
	std::uint32_t flags;             // 16
	std::uint8_t reserved[52];
};
static_assert(
	offsetof(PaletteRegistrationRecord, callback) == 8, "PaletteRegistrationRecord::callback must sit at byte 8");
static_assert(offsetof(PaletteRegistrationRecord, flags) == 16, "PaletteRegistrationRecord::flags must sit at byte 16");
static_assert(
	sizeof(PaletteRegistrationRecord) == 72, "PaletteRegistrationRecord must be 72 bytes, the size the host uses");

// ---- Elements ------------------------------------------------------------------------------

// Element record of 904 bytes. The caller writes type and index; the element read fills the
// rest. Fields named here are the ones an add-on may rely on.
struct ElementRecord {
	std::int32_t type;       // 0
	std::uint32_t variation; // 4: e.g. 0x53595354 for stair objects
	std::int32_t index;      // 8
	std::uint8_t reserved0[8];
	std::int32_t groupIndex; // 20: 0 when in no group
	std::uint8_t reserved1[4];
	std::int16_t storyIndex; // 28
	std::uint8_t reserved2[2];
	std::uint8_t groupProtected; // 32: groups only; nonzero when the group is protected
	std::uint8_t reserved3[71];
	std::int32_t groupMode; // 104: groups only; 1 = a protecting group
	std::uint8_t reserved4[100];
	std::int32_t libPartIndex; // 208: windows, doors, objects, lamps
	std::uint8_t reserved5[692];
};
static_assert(offsetof(ElementRecord, variation) == 4, "ElementRecord::variation must sit at byte 4");
static_assert(offsetof(ElementRecord, index) == 8, "ElementRecord::index must sit at byte 8");
static_assert(offsetof(ElementRecord, groupIndex) == 20, "ElementRecord::groupIndex must sit at byte 20");
static_assert(offsetof(ElementRecord, storyIndex) == 28, "ElementRecord::storyIndex must sit at byte 28");
static_assert(offsetof(ElementRecord, groupProtected) == 32, "ElementRecord::groupProtected must sit at byte 32");
static_assert(offsetof(ElementRecord, groupMode) == 104, "ElementRecord::groupMode must sit at byte 104");
static_assert(offsetof(ElementRecord, libPartIndex) == 208, "ElementRecord::libPartIndex must sit at byte 208");
static_assert(sizeof(ElementRecord) == 904, "ElementRecord must be 904 bytes, the size the host uses");

inline constexpr std::uint32_t StairVariation = 0x53595354u; // "SYST"
inline constexpr std::int32_t GroupElementType = 28;

// Element memo (entries 144 and 152), 120 bytes, cleared by the caller. Handles the host
// leaves in it belong to the caller, who releases every nonzero one of them.
struct ElementMemo {
	std::uint32_t reserved0[4];
	HandleId parameters; // 16: consecutive ParameterRecords
	std::uint32_t reserved1[9];
	HandleId groupData; // 56: groups only; a block whose second 32-bit word is the protection id
	std::uint32_t reserved2[15];
};
static_assert(offsetof(ElementMemo, parameters) == 16, "ElementMemo::parameters must sit at byte 16");
static_assert(offsetof(ElementMemo, groupData) == 56, "ElementMemo::groupData must sit at byte 56");
static_assert(sizeof(ElementMemo) == 120, "ElementMemo must be 120 bytes, the size the host uses");

// Memo mask bit of the parameters (entry 152).
inline constexpr std::uint32_t MemoMaskParameters = 4;

// Element filter bits (entry 142).
inline constexpr std::uint32_t FilterVisible = 2;   // element takes part in the model
inline constexpr std::uint32_t FilterEditable = 16; // element may be edited

// 3D info (entry 170).
struct Element3DInfo {
	std::int32_t firstComponent; // 0
	std::int32_t lastComponent;  // 4: first > last means no component
	std::uint8_t reserved[24];
};
static_assert(offsetof(Element3DInfo, lastComponent) == 4, "Element3DInfo::lastComponent must sit at byte 4");
static_assert(sizeof(Element3DInfo) == 32, "Element3DInfo must be 32 bytes, the size the host uses");

// 3D component (entry 211): the caller sets kind (1) and index.
struct Component3DRecord {
	std::int32_t kind;  // 0
	std::int32_t index; // 4
	std::uint8_t reserved[104];
	std::int32_t polygonCount; // 112
	std::uint8_t reserved2[4];
};
static_assert(offsetof(Component3DRecord, index) == 4, "Component3DRecord::index must sit at byte 4");
static_assert(offsetof(Component3DRecord, polygonCount) == 112, "Component3DRecord::polygonCount must sit at byte 112");
static_assert(sizeof(Component3DRecord) == 120, "Component3DRecord must be 120 bytes, the size the host uses");

// ---- Library parts (entries 111, 112) -------------------------------------------------------

// 376 bytes, cleared by the caller. On success the host leaves a file location at byte 112
// that the caller releases.
struct LibPartRecord {
	std::int32_t typeId; // 0
	std::int32_t index;  // 4: from 1
	std::uint8_t reserved0[32];
	char name[72];       // 40
	LocationId location; // 112
	std::uint8_t reserved1[4];
	char uniqueId[256]; // 120
};
static_assert(offsetof(LibPartRecord, index) == 4, "LibPartRecord::index must sit at byte 4");
static_assert(offsetof(LibPartRecord, name) == 40, "LibPartRecord::name must sit at byte 40");
static_assert(offsetof(LibPartRecord, location) == 112, "LibPartRecord::location must sit at byte 112");
static_assert(offsetof(LibPartRecord, uniqueId) == 120, "LibPartRecord::uniqueId must sit at byte 120");
static_assert(sizeof(LibPartRecord) == 376, "LibPartRecord must be 376 bytes, the size the host uses");

// ---- Library-part parameters (entry 73: OPAR, GPAR, GPVL, CHGP, CPAR) -----------------------

// OPAR: first parameter points to this. With libPartIndex != 0 the part's own parameters are
// opened, otherwise those of the element given by type and index.
struct ParameterOwnerRecord {
	std::int32_t libPartIndex; // 0
	std::int32_t elementType;  // 4
	std::int32_t reserved;     // 8
	std::int32_t elementIndex; // 12
};
static_assert(
	offsetof(ParameterOwnerRecord, elementIndex) == 12, "ParameterOwnerRecord::elementIndex must sit at byte 12");
static_assert(sizeof(ParameterOwnerRecord) == 16, "ParameterOwnerRecord must be 16 bytes, the size the host uses");

// GPAR: first parameter points to this; the host puts a handle of consecutive
// ParameterRecords into the fifth field. The caller releases it and every array handle in it.
struct ParameterListRecord {
	std::uint32_t reserved0[4];
	HandleId parameters; // 16
	std::uint32_t reserved1[3];
};
static_assert(offsetof(ParameterListRecord, parameters) == 16, "ParameterListRecord::parameters must sit at byte 16");
static_assert(sizeof(ParameterListRecord) == 32, "ParameterListRecord must be 32 bytes, the size the host uses");

inline constexpr std::uint32_t ParameterTypeText = 12;
inline constexpr std::int16_t ParameterSingleValue = 0;
inline constexpr std::int16_t ParameterArrayValue = 2;

struct ParameterRecord {
	std::uint32_t typeCode; // 0: ParameterTypeText for text parameters
	std::int16_t reserved0;
	std::int16_t arrayFlag; // 6: 0 single value, 2 array (values in a handle at 312)
	char name[32];          // 8
	std::uint8_t reserved1[272];
	union {
		char text[256];       // 312: value of a single-value text parameter
		HandleId arrayValues; // 312: array parameters
		double number;        // 312: numeric single values
	} value;
};
static_assert(offsetof(ParameterRecord, arrayFlag) == 6, "ParameterRecord::arrayFlag must sit at byte 6");
static_assert(offsetof(ParameterRecord, name) == 8, "ParameterRecord::name must sit at byte 8");
static_assert(offsetof(ParameterRecord, value) == 312, "ParameterRecord::value must sit at byte 312");
static_assert(sizeof(ParameterRecord) == 568, "ParameterRecord must be 568 bytes, the size the host uses");

// GPVL: first parameter points to this; the caller writes the name, the host fills count
// and the two handles, the caller releases both.
struct ValueListRequest {
	char name[38];      // 0
	std::int16_t count; // 38
	HandleId values;    // 40: count consecutive NUL-terminated texts
	HandleId extra;     // 44
};
static_assert(offsetof(ValueListRequest, count) == 38, "ValueListRequest::count must sit at byte 38");
static_assert(offsetof(ValueListRequest, values) == 40, "ValueListRequest::values must sit at byte 40");
static_assert(offsetof(ValueListRequest, extra) == 44, "ValueListRequest::extra must sit at byte 44");
static_assert(sizeof(ValueListRequest) == 48, "ValueListRequest must be 48 bytes, the size the host uses");

// CHGP: first parameter points to this, 56 bytes, cleared first. The new value text pointer
// sits at byte 44 as on the 32-bit interface; here it is 8 bytes wide (to byte 52).
#pragma pack(push, 4)
struct ChangeParameterRequest {
	char name[44];        // 0
	const char* newValue; // 44
	std::uint8_t reserved[4];
};
#pragma pack(pop)
static_assert(offsetof(ChangeParameterRequest, newValue) == 44, "ChangeParameterRequest::newValue must sit at byte 44");
static_assert(sizeof(ChangeParameterRequest) == 56, "ChangeParameterRequest must be 56 bytes, the size the host uses");

// ---- Stories, selection, windows, data record (entries 70, 71, 74, 158, 190) ---------------

// GetStoryInfo: first parameter points to this; the caller releases dataHandle.
struct StoryRecord {
	std::int16_t firstStory;  // 0
	std::int16_t lastStory;   // 2
	std::int16_t activeStory; // 4
	std::uint8_t reserved;    // 6
	std::uint8_t noStoryZero; // 7: 1 when story numbers the user sees start at 1
	HandleId dataHandle;      // 8
	std::uint8_t reserved2[4];
};
static_assert(offsetof(StoryRecord, activeStory) == 4, "StoryRecord::activeStory must sit at byte 4");
static_assert(offsetof(StoryRecord, noStoryZero) == 7, "StoryRecord::noStoryZero must sit at byte 7");
static_assert(offsetof(StoryRecord, dataHandle) == 8, "StoryRecord::dataHandle must sit at byte 8");
static_assert(sizeof(StoryRecord) == 16, "StoryRecord must be 16 bytes, the size the host uses");

// ChangeStory: first parameter points to this.
struct StoryChangeRecord {
	std::int32_t kind;  // 0: 0 = go to the story
	std::int16_t story; // 4
	std::uint8_t reserved[10];
};
static_assert(offsetof(StoryChangeRecord, story) == 4, "StoryChangeRecord::story must sit at byte 4");
static_assert(sizeof(StoryChangeRecord) == 16, "StoryChangeRecord must be 16 bytes, the size the host uses");

// Selection read (entry 190); the caller releases markerHandle.
struct SelectionRecord {
	std::int32_t kind;      // 0: 0 nothing, 1 elements, 2 or more marquee kinds
	std::int32_t itemCount; // 4
	std::uint8_t reserved0[19];
	std::uint8_t marqueeAllStories; // 27: 0 = the marquee acts on the active story only
	std::uint8_t reserved1[12];
	HandleId markerHandle; // 40
	std::uint8_t reserved2[4];
};
static_assert(offsetof(SelectionRecord, itemCount) == 4, "SelectionRecord::itemCount must sit at byte 4");
static_assert(
	offsetof(SelectionRecord, marqueeAllStories) == 27, "SelectionRecord::marqueeAllStories must sit at byte 27");
static_assert(offsetof(SelectionRecord, markerHandle) == 40, "SelectionRecord::markerHandle must sit at byte 40");
static_assert(sizeof(SelectionRecord) == 48, "SelectionRecord must be 48 bytes, the size the host uses");

// One selected item, 16 bytes.
struct SelectionItem {
	std::int32_t itemCode; // 0
	std::int32_t index;    // 4
	std::int16_t subField; // 8
	std::uint8_t reserved[6];
};
static_assert(offsetof(SelectionItem, subField) == 8, "SelectionItem::subField must sit at byte 8");
static_assert(sizeof(SelectionItem) == 16, "SelectionItem must be 16 bytes, the size the host uses");

// GetDataRecord / ChangeDataRecord / GetWindowInfo / ChangeWindow: 824-byte records.
struct DataRecord {
	std::int32_t mode; // 0: an add-on sets 1 for its run
	std::uint8_t reserved[820];
};
static_assert(sizeof(DataRecord) == 824, "DataRecord must be 824 bytes, the size the host uses");

struct WindowRecord {
	std::int32_t kind; // 0: window kind, 1 floor plan, 4 3D view
	std::uint8_t reserved[820];
};
static_assert(sizeof(WindowRecord) == 824, "WindowRecord must be 824 bytes, the size the host uses");

} // namespace HostSdk

// Basic types of the host interface: statuses, four-character selectors, project event
// codes and the ids the host leaves in records. Everything an add-on and a host must agree
// on before any record or function is exchanged.
#pragma once

#include <cstdint>

namespace HostSdk {

// Result of every host operation and entry point; 0 is success.
using HostStatus = std::int32_t;

// Value handed to InitializeAddOn and passed back first in every host call (but the menu
// registration).
using ModuleToken = std::uint32_t;

// A memory handle of the root library (32-bit id, 0 = none). Whoever the contract of a
// record names as the receiver releases it with the root library's handle service.
using HandleId = std::uint32_t;

// A file-location object of the file library (32-bit id, 0 = none), released by the
// receiver with the file library's id service.
using LocationId = std::uint32_t;

constexpr HostStatus MakeStatus(std::uint32_t code)
{
	return static_cast<HostStatus>(code);
}

inline constexpr HostStatus StatusOk = 0;
// An entry point other than the identification was called before the host table was set.
inline constexpr HostStatus StatusTableNotSet = MakeStatus(0x81060001u);
// The host table has no entry for the operation.
inline constexpr HostStatus StatusMissingEntry = MakeStatus(0x81060387u);
// The module's own file location cannot be built.
inline constexpr HostStatus StatusNoModuleLocation = MakeStatus(0x81060385u);
// Module data of another data version.
inline constexpr HostStatus StatusBadDataVersion = MakeStatus(0x81060196u);
// The project holds no module data for the add-on (host answer).
inline constexpr HostStatus StatusNoModuleData = MakeStatus(0x81060195u);
// The selection read found nothing selected (host answer; callers treat it as success).
inline constexpr HostStatus StatusEmptySelection = MakeStatus(0x810600CEu);
// Generic refusals a host may answer with.
inline constexpr HostStatus StatusRefused = MakeStatus(0x81060100u);
inline constexpr HostStatus StatusBadIndex = MakeStatus(0x81060101u);
inline constexpr HostStatus StatusBadParameter = MakeStatus(0x81060102u);

// Four characters packed first character highest: Selector("GMIF") == 0x474D4946.
constexpr std::uint32_t Selector(const char (&code)[5])
{
	return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
		(static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
		(static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
		static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}
static_assert(Selector("GMIF") == 0x474D4946u, "selectors pack the first character highest");

// What each selector takes and answers is stated with its operation in HostFunctions.hpp.
namespace Selectors {
// Interface operation (entry 72).
inline constexpr std::uint32_t GetMenuItemFlags = Selector("GMIF");
inline constexpr std::uint32_t SetMenuItemFlags = Selector("SMIF");
inline constexpr std::uint32_t OpenProgressWindow = Selector("IPWD");
inline constexpr std::uint32_t CloseProgressWindow = Selector("CPWD");
inline constexpr std::uint32_t SetProgressPhase = Selector("SPRP");
inline constexpr std::uint32_t SetProgressValue = Selector("SPRV");
inline constexpr std::uint32_t ProgressCancelled = Selector("CANC");
// Database operation (entry 70).
inline constexpr std::uint32_t GetDataRecord = Selector("GDAT");
inline constexpr std::uint32_t ChangeDataRecord = Selector("CDAT");
inline constexpr std::uint32_t GetWindowInfo = Selector("GWIN");
// Environment operation (entry 71).
inline constexpr std::uint32_t GetStoryInfo = Selector("GSTO");
inline constexpr std::uint32_t ChangeStory = Selector("CSTO");
inline constexpr std::uint32_t GetSpecialFolder = Selector("GSPF");
// Utilities operation (entry 73).
inline constexpr std::uint32_t ItemCodeToElementType = Selector("NTOE");
inline constexpr std::uint32_t OpenParameters = Selector("OPAR");
inline constexpr std::uint32_t GetParameters = Selector("GPAR");
inline constexpr std::uint32_t ChangeParameter = Selector("CHGP");
inline constexpr std::uint32_t CloseParameters = Selector("CPAR");
inline constexpr std::uint32_t GetParameterValues = Selector("GPVL");
// Window operation (entry 74).
inline constexpr std::uint32_t ChangeWindow = Selector("CHWD");
} // namespace Selectors
static_assert(Selectors::GetStoryInfo == 0x4753544Fu, "GetStoryInfo must be the host's 'GSTO' code");
static_assert(Selectors::GetSpecialFolder == 0x47535046u, "GetSpecialFolder must be the host's 'GSPF' code");

// Project event codes, one bit each; an add-on registers for a mask of them (entry 250).
// Which host action raises which code is listed in docs/host.md.
namespace ProjectEvents {
inline constexpr std::int32_t New = 1;       // a new, empty project replaced the old one
inline constexpr std::int32_t Quit = 2;      // the host is about to quit
inline constexpr std::int32_t Open = 4;      // a project file was opened
inline constexpr std::int32_t Save = 8;      // the project is about to be saved
inline constexpr std::int32_t Changed = 16;  // the project's contents changed (no add-on acts on it)
inline constexpr std::int32_t Close = 32;    // the project is about to be closed
inline constexpr std::int32_t Reserved = 64; // never raised by the reference host
inline constexpr std::int32_t SaveAs = 128;  // the project is about to be saved under a new name
inline constexpr std::uint32_t AllMask = 0xFF;
} // namespace ProjectEvents

// The module-data merge code the host passes when it merges two projects' module data.
inline constexpr std::int32_t MergeCode = 13;

// Special folder code of the help folder (environment operation GetSpecialFolder).
inline constexpr std::int32_t HelpFolderCode = 11;

// Interface version of the add-on interface described by this SDK.
inline constexpr std::uint32_t InterfaceVersion = 0xA0001u;

// Number of entries in the host function table.
inline constexpr int HostFunctionCount = 390;

} // namespace HostSdk

// The numbers that tie the module's code to its resources and to the host: the string lists
// of its name and menu item, and the module identity pair of MDID 32500, which also names
// the module's help location. addon/resources/shell.json carries the same values.
#pragma once

#include <cstdint>

namespace ModuleIdentity {

// Item 1: the add-on's name, item 2: its one-line description.
inline constexpr std::int16_t AddOnInfoStringList = 32000;
// Item 1: the menu item's text; also the id by which the host names the menu.
inline constexpr std::int16_t MenuStringList = 32500;
inline constexpr std::int16_t MenuItemIndex = 1;
// The menu item's prompt texts.
inline constexpr std::int16_t PromptStringList = 32502;
// Where the host puts the menu item.
inline constexpr std::uint32_t MenuPlacement = 12;

// The pair of MDID 32500.
inline constexpr std::uint32_t DeveloperId = 0x46544241u;
inline constexpr std::uint32_t LocalId = 1;

// MNUM 18000 carries, after its byte count 16, the module's version for the host to show:
// major 1, minor 0, revision 0, build 0. The module's code never reads it.

} // namespace ModuleIdentity

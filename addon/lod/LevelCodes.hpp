// The levels of detail a library part can be given, as the add-on codes them in a row's
// lod, in the preferences' level table and in the project's module data, and their names as
// the user reads them.
#pragma once

#include <cstdint>

namespace LevelCodes {
// Set the level-of-detail parameter to the value the configuration file gives at position 0.
inline constexpr std::int16_t Detailed = 0;
// Position 1.
inline constexpr std::int16_t Simple = 1;
// Position 2.
inline constexpr std::int16_t Off = 2;
// Leave the parameter as it is.
inline constexpr std::int16_t Custom = 3;
// Use the default level of the preferences (one of the four above).
inline constexpr std::int16_t Default = 4;
// The part has no level-of-detail parameter: nothing can be changed.
inline constexpr std::int16_t NoParameter = 5;
// Codes 0 to 4 are choices; each has an availability flag in a row.
inline constexpr int ChoiceCount = 5;

constexpr bool IsChoice(std::int32_t code)
{
	return code >= 0 && code < ChoiceCount;
}
} // namespace LevelCodes

// The name of a level code (items 1 to 5 of string list 150: "Detailed", "Simple", "Off",
// "Custom", "Default"), read once and kept for the life of the add-on. Any other code, a part
// without a parameter included, is named as "Custom" is.
const char* LevelName(std::int32_t code);

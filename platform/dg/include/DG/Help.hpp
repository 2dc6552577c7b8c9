// Additional help locations: a module registers a folder under its identity pair (developer
// id, local id), where the help of its dialogs is found. The registered set can be read, so a
// host and tests can see what a module registered.
#pragma once

#include "IO/Location.hpp"

#include <cstdint>
#include <vector>

namespace DG {

inline constexpr std::int32_t HelpNoError = 0;
// The location holds no usable path; nothing was registered.
inline constexpr std::int32_t HelpBadLocation = -2;
// Nothing is registered under that pair.
inline constexpr std::int32_t HelpNotRegistered = -3;

struct HelpLocation {
	std::uint32_t developerId = 0;
	std::uint32_t localId = 0;
	IO::Location location;
};

// Registers location for the pair, replacing an earlier one of the same pair.
std::int32_t RegisterAdditionalHelpLocation(
	std::uint32_t developerId, std::uint32_t localId, const IO::Location& location);
std::int32_t UnregisterAdditionalHelpLocation(std::uint32_t developerId, std::uint32_t localId);
// The registered locations, in the order they were first registered.
std::vector<HelpLocation> GetAdditionalHelpLocations();

} // namespace DG

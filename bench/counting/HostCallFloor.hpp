// The floor a host sets for a counting run: the same host calls, in the same order, that the
// module makes for a project, with none of the module's bookkeeping (no result tables, rows,
// caches, progress timer or report layout). A run cannot be faster than this loop.
#pragma once

#include "Host.hpp"

#include <cstddef>

// Whether library parts have a wanted level other than "Custom" (their elements' parameters
// are then read at each run), as the module's preferences say.
struct FloorScenario {
	bool levelsWanted = false;
};

// Makes the calls with the add-on's token; answers the number of elements visited.
std::size_t RunHostCallFloor(
	ReferenceHost::Host& host, const ReferenceHost::AddOn& addOn, const FloorScenario& scenario);

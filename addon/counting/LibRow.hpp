// LibRow: what one counting run learns about one library part that placed elements use.
// A new row has no objects and polygons, no level-of-detail parameter (lod 5), only
// "Custom" and "Default" offered, and both lock bits set.
#pragma once

#include "VX/String.hpp"
#include "counting/GuidStr.hpp"

#include <cstdint>

struct LibRow {
	VX::String name;
	std::int32_t objects = 0;
	std::int32_t polygons = 0;
	// 0 "Detailed", 1 "Simple", 2 "Off", 3 "Custom", 4 "Default"; 5 no parameter found.
	std::int16_t lod = 5;
	GuidStr guid;
	// Whether level choice k (as for lod) is offered for this part.
	bool available[5] = {false, false, false, true, true};
	// Bits 0 and 1; the row is shown grayed while either is set.
	std::uint32_t lockFlags = 3;
};

// The share of all counted polygons that a type or a library part holds, in percent. The
// report, the results list and the command page all derive it the same way.
#pragma once

#include <cstdint>

// part / total × 100 in double precision; 0 when nothing was counted (total below 1), so an
// empty or negative total never divides.
constexpr double PolygonPercentage(std::int32_t partPolygons, std::int32_t totalPolygons)
{
	if (totalPolygons < 1)
		return 0.0;
	return static_cast<double>(partPolygons) / static_cast<double>(totalPolygons) * 100.0;
}
